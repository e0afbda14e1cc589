// Windows file work for the files subsystem: handles are the C library's descriptors over
// Win32 files, opened in binary mode and never inherited. Paths take '/' and '\' alike, and
// the file system itself ignores letter case.
#include "platform/fs_host.h"

#include <windows.h>
// After windows.h.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <climits>

#include "platform/platform.h"
#include "platform/windows/wide_text.h"

namespace qrv::platform {

namespace {

DWORD Attributes(const std::string& path) {
  return GetFileAttributesW(windows::Wide(path).c_str());
}

bool IsRegularHandle(int fd) {
  struct _stat64 info;
  return _fstat64(fd, &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG;
}

// A scratch file beside the prefix, made privately (it did not exist before); its name in
// 'made'. -1 when none can be made.
int MakeScratchFile(const std::string& prefix, std::string& made) {
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    made = prefix + ".qrv" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount() + attempt);
    int fd = _wopen(windows::Wide(made).c_str(),
                    _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAndRename(const std::string& scratchPrefix, const std::string& target,
                    const void* bytes, size_t count) {
  std::string scratch;
  int fd = MakeScratchFile(scratchPrefix, scratch);
  if (fd < 0) return false;
  bool ok = WriteHandle(fd, bytes, count);
  ok = _close(fd) == 0 && ok;
  ok = ok && MoveFileExW(windows::Wide(scratch).c_str(), windows::Wide(target).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(windows::Wide(scratch).c_str());
  return ok;
}

}  // namespace

std::string FindPathIgnoringCase(const std::string& path) {
  if (path.empty() || Attributes(path) == INVALID_FILE_ATTRIBUTES) return std::string();
  return path;
}

std::string PathForNewFile(const std::string& path) { return path; }

int OpenForReading(const std::string& path) {
  int fd = _wopen(windows::Wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd >= 0 && !IsRegularHandle(fd)) {
    _close(fd);
    return -1;
  }
  return fd;
}

int CreateNewFile(const std::string& path) {
  std::wstring wide = windows::Wide(path);
  DeleteFileW(wide.c_str());
  return _wopen(wide.c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                _S_IREAD | _S_IWRITE);
}

int OpenForAppending(const std::string& path) {
  int fd = _wopen(windows::Wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
  if (fd < 0) return -1;
  if (!IsRegularHandle(fd) || _lseeki64(fd, 0, SEEK_END) < 0) {
    _close(fd);
    return -1;
  }
  return fd;
}

bool CloseHandle(int handle) { return handle < 0 || _close(handle) == 0; }

int64_t HandleSize(int handle) { return _filelengthi64(handle); }

int64_t ReadHandle(int handle, void* destination, size_t count) {
  auto* bytes = static_cast<char*>(destination);
  size_t done = 0;
  while (done < count) {
    unsigned chunk = static_cast<unsigned>(std::min<size_t>(count - done, INT_MAX));
    int n = _read(handle, bytes + done, chunk);
    if (n < 0) return done > 0 ? static_cast<int64_t>(done) : -1;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<int64_t>(done);
}

int64_t ReadHandleAt(int handle, void* destination, size_t count, int64_t offset) {
  HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(handle));
  if (file == INVALID_HANDLE_VALUE) return -1;
  // A positioned read moves the pointer of a synchronous handle: it is put back.
  int64_t before = _telli64(handle);
  auto* bytes = static_cast<char*>(destination);
  size_t done = 0;
  while (done < count) {
    OVERLAPPED at{};
    uint64_t position = static_cast<uint64_t>(offset) + done;
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30)), n = 0;
    if (!ReadFile(file, bytes + done, chunk, &n, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      done = SIZE_MAX;
      break;
    }
    if (n == 0) break;
    done += n;
  }
  if (before >= 0) _lseeki64(handle, before, SEEK_SET);
  return done == SIZE_MAX ? -1 : static_cast<int64_t>(done);
}

bool WriteHandle(int handle, const void* bytes, size_t count) {
  const auto* data = static_cast<const char*>(bytes);
  while (count > 0) {
    unsigned chunk = static_cast<unsigned>(std::min<size_t>(count, INT_MAX));
    int n = _write(handle, data, chunk);
    if (n <= 0) return false;
    data += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

int64_t SeekHandle(int handle, int64_t offset, int origin) {
  int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
  return _lseeki64(handle, offset, whence);
}

bool IdentifyFile(const std::string& path, FileIdentity& identity) {
  HANDLE file = CreateFileW(windows::Wide(path).c_str(), 0,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  bool ok = GetFileInformationByHandle(file, &info) != 0;
  ::CloseHandle(file);
  if (!ok) return false;
  identity.device = info.dwVolumeSerialNumber;
  identity.inode = uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
  identity.size = static_cast<int64_t>(uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow);
  // 100 ns units.
  uint64_t written = uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32 |
                     info.ftLastWriteTime.dwLowDateTime;
  identity.modifiedNs = static_cast<int64_t>(written) * 100;
  return true;
}

bool ReplaceFileContent(const std::string& path, const void* bytes, size_t count) {
  DWORD attributes = Attributes(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  return WriteAndRename(path, path, bytes, count);
}

std::string WriteTemporaryFile(const std::string& name, const void* bytes, size_t count) {
  if (name.empty() || name.find_first_of("/\\:") != std::string::npos) return std::string();
  std::string folder = TempFolder();
  std::string target = folder + name;
  return WriteAndRename(folder, target, bytes, count) ? target : std::string();
}

bool MakeDirectory(const std::string& path) {
  return CreateDirectoryW(windows::Wide(path).c_str(), nullptr) != 0;
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ListDirectoryEntries(const std::string& path, std::vector<DirectoryEntry>& entries) {
  std::string pattern = path.empty() ? "." : path;
  if (pattern.back() != '/' && pattern.back() != '\\') pattern += '\\';
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(windows::Wide(pattern + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    entries.push_back(
        {windows::Narrow(found.cFileName), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return true;
}

}  // namespace qrv::platform
