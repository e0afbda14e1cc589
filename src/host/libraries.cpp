// Functions of shared libraries by name. Each library is loaded once; the table keys
// are the lower-cased names, while the library itself is loaded by the name as given
// (the host's library names are case-sensitive).
#include <string>
#include <utility>
#include <vector>

#include "platform/host_services.h"
#include "quorvia/frame.h"
#include "quorvia/host.h"
#include "quorvia/values.h"

namespace qrv {

namespace {

struct LoadedLibrary {
  std::string key;
  void* handle;
};

// Process-wide; libraries stay loaded until the process ends.
std::vector<LoadedLibrary>& LoadedLibraries() {
  static std::vector<LoadedLibrary> table;
  return table;
}

// The library's handle, or null with the reason it cannot be loaded. An empty name is
// no library (the host's loader would hand out the running program itself).
void* FindOrLoad(const RtString& library, std::string& failure) {
  if (library.Length() == 0) {
    failure = "no library named";
    return nullptr;
  }
  std::string key(LowerCase(library).View());
  for (const LoadedLibrary& entry : LoadedLibraries()) {
    if (entry.key == key) return entry.handle;
  }
  void* handle = platform::LoadSharedLibrary(library.c_str(), failure);
  if (handle != nullptr) LoadedLibraries().push_back({std::move(key), handle});
  return handle;
}

}  // namespace

void ExternalFunction(const RtString& library, const char* function, void*& destination) {
  std::string failure;
  void* handle = FindOrLoad(library, failure);
  if (handle == nullptr) {
    DebugOutput("DECLARE module not found: " + library + "\n");
    ReportFailure({"ExternalFunction", library.View(), failure});
    return;
  }
  destination = function != nullptr ? platform::SharedLibraryFunction(handle, function) : nullptr;
  if (destination == nullptr) {
    std::string name = function != nullptr ? function : "";
    ReportFailure({"ExternalFunction", library.View(), "no function \"" + name + "\""});
  }
}

}  // namespace qrv
