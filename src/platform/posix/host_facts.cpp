// The host's own facts on a POSIX desktop: its name, the machine id of the system, the
// locale variables and the XDG user-dirs file.
#include <string>

#include "platform/fs_host.h"
#include "platform/host_services.h"
#include "platform/posix/desktop_rules.h"

namespace qrv::platform {

namespace {

// The first `limit` bytes of a file; false when it cannot be read.
bool ReadSmallTextFile(const std::string& path, size_t limit, std::string& text) {
  int handle = OpenForReading(path);
  if (handle < 0) return false;
  text.assign(limit, '\0');
  int64_t count = ReadHandle(handle, text.data(), limit);
  CloseHandle(handle);
  if (count < 0) return false;
  text.resize(static_cast<size_t>(count));
  return true;
}

}  // namespace

const char* HostSystemName() { return "LINUX"; }

uint32_t MachineSerial() {
  std::string text;
  for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
    if (ReadSmallTextFile(path, 64, text) &&
        posix::MachineSerial(text) != posix::kFallbackSerial) {
      break;
    }
  }
  return posix::MachineSerial(text);
}

// The locale variables in the order the host's message catalogues consult them.
uint32_t UserLanguage() {
  std::string value;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (EnvironmentValue(name, value) && !value.empty()) break;
    value.clear();
  }
  return posix::LanguageIdentifier(value);
}

std::string DocumentsFolder() {
  std::string home, config, text;
  EnvironmentValue("HOME", home);
  if (!EnvironmentValue("XDG_CONFIG_HOME", config) || config.empty() || config[0] != '/') {
    config = home.empty() ? std::string() : home + "/.config";
  }
  if (config.empty() || !ReadSmallTextFile(config + "/user-dirs.dirs", 65536, text)) {
    return std::string();
  }
  return posix::DocumentsFolder(text, home);
}

}  // namespace qrv::platform
