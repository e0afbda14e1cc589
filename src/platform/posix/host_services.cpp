// POSIX side of the host services: the environment, local time and shared libraries.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/host_services.h"

extern char** environ;

namespace qrv::platform {

bool EnvironmentValue(const char* name, std::string& value) {
  const char* text = std::getenv(name);
  if (text == nullptr) return false;
  value = text;
  return true;
}

std::vector<std::string> EnvironmentEntries() {
  std::vector<std::string> entries;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    entries.emplace_back(*entry);
  }
  return entries;
}

bool SetEnvironmentValue(const char* name, const char* value) {
  return setenv(name, value, 1) == 0;
}

bool RemoveEnvironmentValue(const char* name) {
  return unsetenv(name) == 0;
}

LocalTime CurrentLocalTime() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

void* LoadSharedLibrary(const char* name, std::string& failure) {
  void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    failure = reason != nullptr ? reason : "cannot be loaded";
  }
  return handle;
}

void* SharedLibraryFunction(void* library, const char* name) {
  return dlsym(library, name);
}

}  // namespace qrv::platform
