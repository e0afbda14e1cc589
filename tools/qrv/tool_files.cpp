// Whole files for the qrv commands, through the C library so that errno names the cause.
#include "tool_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace qrv::tool {
namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File Open(const std::string& path, const char* mode) {
  return File(std::fopen(path.c_str(), mode), &std::fclose);
}

std::string SystemReason() {
  return errno != 0 ? std::strerror(errno) : "unknown error";
}

// Reads up to limit bytes; more is true when the file goes on past them.
bool ReadUpTo(const std::string& path, std::string& bytes, size_t limit, bool& more,
              std::string& why) {
  errno = 0;
  File file = Open(path, "rb");
  if (!file) {
    why = SystemReason();
    return false;
  }
  bytes.clear();
  char buffer[65536];
  size_t n;
  while (bytes.size() < limit &&
         (n = std::fread(buffer, 1, std::min(sizeof buffer, limit - bytes.size()), file.get())) >
             0) {
    bytes.append(buffer, n);
  }
  // A folder opens, but reading it fails ("Is a directory").
  if (std::ferror(file.get())) {
    why = SystemReason();
    return false;
  }
  more = std::fgetc(file.get()) != EOF;
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& why, size_t limit) {
  bool more = false;
  if (!ReadUpTo(path, bytes, limit, more, why)) return false;
  if (more) why = "longer than " + std::to_string(limit) + " bytes";
  return !more;
}

bool ReadFileStart(const std::string& path, std::string& bytes, size_t count, std::string& why) {
  bool more = false;
  return ReadUpTo(path, bytes, count, more, why);
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& why) {
  errno = 0;
  File file = Open(path, "wb");
  if (!file) {
    why = SystemReason();
    return false;
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
      std::fflush(file.get()) != 0) {
    why = SystemReason();
    return false;
  }
  errno = 0;
  if (std::fclose(file.release()) != 0) {
    why = SystemReason();
    return false;
  }
  return true;
}

std::string ReadProblem(const std::string& path) {
  errno = 0;
  File file = Open(path, "rb");
  if (!file) return SystemReason();
  if (std::fgetc(file.get()) == EOF && std::ferror(file.get())) return SystemReason();
  return "";
}

std::string WriteProblem(const std::string& path) {
  std::error_code error;
  bool existed = std::filesystem::exists(path, error);
  errno = 0;
  File file = Open(path, "ab");
  if (!file) return SystemReason();
  file.reset();
  if (!existed) std::filesystem::remove(path, error);
  return "";
}

}  // namespace qrv::tool
