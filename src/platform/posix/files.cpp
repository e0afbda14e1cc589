// POSIX files and folders for the runtime: the temporary folder, the current directory
// and safe appends.
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/fs_host.h"
#include "platform/platform.h"

namespace qrv::platform {

const char* TempFolderVariable() { return "TMPDIR"; }

std::string TempFolder() {
  const char* dir = std::getenv(TempFolderVariable());
  std::string folder = (dir != nullptr && dir[0] != 0) ? dir : "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string CurrentDirectory() {
  char path[PATH_MAX];
  return getcwd(path, sizeof path) != nullptr ? std::string(path) : std::string();
}

bool ChangeDirectory(const std::string& path) { return chdir(path.c_str()) == 0; }

bool RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0 || errno == ENOENT; }

bool AppendLineNoFollow(const std::string& path, const char* text) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                0600);
  if (fd < 0) return false;
  struct stat info;
  bool ours = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid();
  // Exclusive use while writing, as the log is opened without sharing.
  bool ok = ours && flock(fd, LOCK_EX | LOCK_NB) == 0;
  if (ok) {
    ok = WriteHandle(fd, text, std::strlen(text)) && WriteHandle(fd, "\r\n", 2);
    flock(fd, LOCK_UN);
  }
  close(fd);
  return ok;
}

}  // namespace qrv::platform
