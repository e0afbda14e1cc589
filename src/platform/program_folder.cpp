// The folder the program runs in: its own file's folder.
#include "platform/platform.h"

namespace qrv::platform {

std::string ProgramFolder() {
  std::string self = ExecutablePath();
  size_t slash = self.find_last_of('/');
  return slash == std::string::npos ? std::string() : self.substr(0, slash);
}

}  // namespace qrv::platform
