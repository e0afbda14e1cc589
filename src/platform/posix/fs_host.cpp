// POSIX file work for the files subsystem: handles, case-insensitive lookup, safe
// replacement and temporary files, folders and listings.
#include "platform/fs_host.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <memory>

#include "platform/platform.h"

namespace qrv::platform {

static bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

// The entry of the folder whose name equals the component without regard to case.
static std::string FindEntryIgnoringCase(const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return std::string();
  std::string found;
  while (struct dirent* entry = readdir(dir)) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

std::string FindPathIgnoringCase(const std::string& path) {
  if (path.empty()) return std::string();
  if (Exists(path)) return path;
  // Walk the components; each one that does not exist as written is looked up in its folder.
  std::string resolved = path[0] == '/' ? "/" : "";
  size_t start = path[0] == '/' ? 1 : 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    std::string candidate = resolved + part;
    if (!Exists(candidate)) {
      std::string match = FindEntryIgnoringCase(resolved, part);
      if (match.empty()) return std::string();
      candidate = resolved + match;
    }
    resolved = candidate;
    if (end < path.size()) resolved += '/';
  }
  return resolved;
}

std::string PathForNewFile(const std::string& path) {
  std::string whole = FindPathIgnoringCase(path);
  if (!whole.empty()) return whole;
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return path;
  std::string folder = FindPathIgnoringCase(path.substr(0, slash));
  return folder.empty() ? path : folder + path.substr(slash);
}

int OpenForReading(const std::string& path) {
  // Non-blocking so that a FIFO planted under a media name cannot stall the open.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return -1;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

int CreateNewFile(const std::string& path) {
  unlink(path.c_str());
  return open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
}

int OpenForAppending(const std::string& path) {
  // Not O_APPEND: the program may move the write point back into the file.
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return -1;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || lseek(fd, 0, SEEK_END) < 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool CloseHandle(int handle) {
  return handle < 0 || close(handle) == 0;
}

int64_t HandleSize(int handle) {
  struct stat info;
  return fstat(handle, &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

int64_t ReadHandle(int handle, void* destination, size_t count) {
  auto* bytes = static_cast<char*>(destination);
  size_t done = 0;
  while (done < count) {
    ssize_t n = read(handle, bytes + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return done > 0 ? static_cast<int64_t>(done) : -1;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<int64_t>(done);
}

int64_t ReadHandleAt(int handle, void* destination, size_t count, int64_t offset) {
  auto* bytes = static_cast<char*>(destination);
  size_t done = 0;
  while (done < count) {
    ssize_t n = pread(handle, bytes + done, count - done, offset + static_cast<int64_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<int64_t>(done);
}

bool WriteHandle(int handle, const void* bytes, size_t count) {
  // A file size limit then fails the write (EFBIG) instead of ending the process.
  static const bool sizeLimitIsAnError = signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
  (void)sizeLimitIsAnError;
  const auto* data = static_cast<const char*>(bytes);
  while (count > 0) {
    ssize_t n = write(handle, data, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

int64_t SeekHandle(int handle, int64_t offset, int origin) {
  int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
  return static_cast<int64_t>(lseek(handle, static_cast<off_t>(offset), whence));
}

bool IdentifyFile(const std::string& path, FileIdentity& identity) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  identity.device = info.st_dev;
  identity.inode = info.st_ino;
  identity.size = info.st_size;
  identity.modifiedNs =
      static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return true;
}

// Makes a private file next to the given path prefix; its name comes back in 'made'.
static int MakePrivateFile(const std::string& prefix, std::string& made) {
  made = prefix + ".qrvXXXXXX";
  return mkostemp(made.data(), O_CLOEXEC);
}

// Writes the bytes to a fresh private file and renames it to the target.
static bool WriteAndRename(const std::string& scratchPrefix, const std::string& target,
                           const void* bytes, size_t count, mode_t mode) {
  std::string scratch;
  int fd = MakePrivateFile(scratchPrefix, scratch);
  if (fd < 0) return false;
  bool ok = WriteHandle(fd, bytes, count) && fchmod(fd, mode) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(scratch.c_str(), target.c_str()) == 0;
  if (!ok) unlink(scratch.c_str());
  return ok;
}

bool ReplaceFileContent(const std::string& path, const void* bytes, size_t count) {
  // The file is made anew: a link under its name is replaced, never written through.
  struct stat info;
  mode_t mode = 0644;
  if (lstat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return false;
    if (S_ISREG(info.st_mode)) mode = info.st_mode & 0777;
  }
  return WriteAndRename(path, path, bytes, count, mode);
}

std::string WriteTemporaryFile(const std::string& name, const void* bytes, size_t count) {
  if (name.empty() || name.find('/') != std::string::npos) return std::string();
  std::string folder = TempFolder();
  std::string target = folder + name;
  return WriteAndRename(folder, target, bytes, count, 0600) ? target : std::string();
}

bool MakeDirectory(const std::string& path) {
  return mkdir(path.c_str(), 0777) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool ListDirectoryEntries(const std::string& path, std::vector<DirectoryEntry>& entries) {
  DIR* dir = opendir(path.empty() ? "." : path.c_str());
  if (dir == nullptr) return false;
  while (struct dirent* entry = readdir(dir)) {
    DirectoryEntry item{entry->d_name, false};
    if (entry->d_type == DT_DIR) {
      item.isDirectory = true;
    } else if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      // Links to folders list as folders, as the file system's own view would show them.
      struct stat info;
      item.isDirectory = fstatat(dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
    }
    entries.push_back(std::move(item));
  }
  closedir(dir);
  return true;
}

}  // namespace qrv::platform
