// Windows files and folders for the runtime: the temporary folder (GetTempPath), the
// program's path, the current directory and safe appends.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/fs_host.h"
#include "platform/platform.h"
#include "platform/windows/wide_text.h"

namespace qrv::platform {

// GetTempPath reads TMP first.
const char* TempFolderVariable() { return "TMP"; }

std::string TempFolder() {
  wchar_t path[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, path);
  std::string folder = n > 0 && n <= MAX_PATH ? windows::Narrow(path, static_cast<int>(n)) : "C:\\";
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder;
}

std::string ExecutablePath() {
  std::wstring path(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (n == 0 || n >= path.size()) return std::string();
  // With '/' between folders, as the runtime splits paths on every host.
  std::replace(path.begin(), path.begin() + n, L'\\', L'/');
  return windows::Narrow(path.data(), static_cast<int>(n));
}

std::string CurrentDirectory() {
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return std::string();
  std::wstring path(size, L'\0');
  DWORD n = GetCurrentDirectoryW(size, path.data());
  return n > 0 && n < size ? windows::Narrow(path.data(), static_cast<int>(n)) : std::string();
}

bool ChangeDirectory(const std::string& path) {
  return SetCurrentDirectoryW(windows::Wide(path).c_str()) != 0;
}

bool RemoveFile(const std::string& path) {
  if (DeleteFileW(windows::Wide(path).c_str())) return true;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool AppendLineNoFollow(const std::string& path, const char* text) {
  // No sharing while writing, as the log is kept; a reparse point (a link) is opened
  // itself and refused, never followed.
  HANDLE file = CreateFileW(windows::Wide(path).c_str(), FILE_APPEND_DATA, 0, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  bool ok = GetFileInformationByHandle(file, &info) &&
            (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0;
  auto write = [&](const char* bytes, DWORD count) {
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
  };
  ok = ok && write(text, static_cast<DWORD>(std::strlen(text))) && write("\r\n", 2);
  ::CloseHandle(file);
  return ok;
}

}  // namespace qrv::platform
