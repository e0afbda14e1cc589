// The host's own facts on Windows: its name, the serial number of volume C:, the user
// interface language and the known Documents folder.
#include <windows.h>
// After windows.h: the shell's headers need its types.
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <string>

#include "platform/host_services.h"
#include "platform/windows/wide_text.h"

namespace qrv::platform {

const char* HostSystemName() { return "WIN32"; }

uint32_t MachineSerial() {
  DWORD serial = 0;
  if (!GetVolumeInformationW(L"C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
    return 0;
  }
  return static_cast<uint32_t>(serial);
}

uint32_t UserLanguage() { return GetUserDefaultUILanguage(); }

std::string DocumentsFolder() {
  wchar_t* path = nullptr;
  std::string folder;
  if (SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path) == S_OK) {
    folder = windows::Narrow(path);
  }
  std::replace(folder.begin(), folder.end(), '\\', '/');  // the answer's separator on every host
  CoTaskMemFree(path);
  return folder;
}

}  // namespace qrv::platform
