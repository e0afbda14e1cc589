// Fuzz target: an arbitrary file read as a user-dirs file for the documents folder.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/posix/desktop_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  qrv::platform::posix::DocumentsFolder(text, "/home/user");
  return 0;
}
