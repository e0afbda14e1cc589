// FileReader: one reader over a disk file or a memory block, with its own read-ahead
// buffer so that single small values cost no system call each. Writes go straight to
// the file, so a failure is known at the write and readers see the bytes at once.
#include <algorithm>
#include <cstring>
#include <limits>

#include "files/files_internal.h"
#include "platform/fs_host.h"
#include "platform/platform.h"

namespace qrv {

namespace {
constexpr int32_t kBufferSize = 64 * 1024;

int32_t ClampSize(int64_t size) {
  return static_cast<int32_t>(std::clamp<int64_t>(size, 0, std::numeric_limits<int32_t>::max()));
}
}  // namespace

std::string HostName(const char* name) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string ExistingHostPath(const char* name) {
  return platform::FindPathIgnoringCase(HostName(name));
}

std::string WriteBackPath(const char* name) {
  std::string path = platform::PathForNewFile(HostName(name));
  if (path.empty() || path.front() == '/') return path;
  return platform::CurrentDirectory() + "/" + path;
}

FileReader::~FileReader() {
  Close();
}

bool FileReader::OpenForReading(const char* name) {
  Close();
  if (IsMemoryName(name)) {
    block_ = FindMemoryBlock(name);
    if (block_ == nullptr) return false;
    memory_ = block_->bytes.get();
    size_ = block_->size;
    // An empty block still counts as open.
    if (memory_ == nullptr) memory_ = reinterpret_cast<const uint8_t*>("");
    return true;
  }
  std::string path = ExistingHostPath(name);
  if (path.empty()) return false;
  handle_ = platform::OpenForReading(path);
  if (handle_ < 0) return false;
  size_ = ClampSize(platform::HandleSize(handle_));
  return true;
}

bool FileReader::OpenForWriting(const char* name) {
  Close();
  if (IsMemoryName(name) || name[0] == 0) return false;
  handle_ = platform::CreateNewFile(platform::PathForNewFile(HostName(name)));
  writable_ = true;
  return handle_ >= 0;
}

bool FileReader::OpenForAppending(const char* name) {
  Close();
  if (IsMemoryName(name) || name[0] == 0) return false;
  handle_ = platform::OpenForAppending(platform::PathForNewFile(HostName(name)));
  writable_ = true;
  return handle_ >= 0;
}

bool FileReader::Close() {
  bool ok = handle_ < 0 || platform::CloseHandle(handle_);
  handle_ = -1;
  memory_ = nullptr;
  block_.reset();
  size_ = position_ = 0;
  bufferHead_ = bufferTail_ = 0;
  writable_ = false;
  return ok;
}

// Forgets unread buffered bytes and puts the platform's file pointer where the
// program's reading stands.
void FileReader::DropBuffer() {
  if (bufferTail_ > bufferHead_) {
    platform::SeekHandle(handle_, bufferHead_ - bufferTail_, 1);
  }
  bufferHead_ = bufferTail_ = 0;
}

int64_t FileReader::FillBuffer() {
  if (buffer_ == nullptr) buffer_.reset(new uint8_t[kBufferSize]);
  int64_t got = platform::ReadHandle(handle_, buffer_.get(), kBufferSize);
  bufferHead_ = 0;
  bufferTail_ = got > 0 ? static_cast<int32_t>(got) : 0;
  return got;
}

bool FileReader::Read(void* destination, int32_t n) {
  if (n < 0) return false;
  auto* out = static_cast<uint8_t*>(destination);
  if (handle_ >= 0) {
    position_ += n;
    while (n > 0) {
      // Large reads skip the buffer once it is drained.
      if (bufferHead_ == bufferTail_ && n >= kBufferSize) {
        return platform::ReadHandle(handle_, out, static_cast<size_t>(n)) == n;
      }
      if (bufferHead_ == bufferTail_ && FillBuffer() <= 0) return false;
      int32_t take = std::min(n, bufferTail_ - bufferHead_);
      std::memcpy(out, buffer_.get() + bufferHead_, static_cast<size_t>(take));
      bufferHead_ += take;
      out += take;
      n -= take;
    }
    return true;
  }
  if (memory_ == nullptr || position_ > size_) return false;
  int32_t take = std::min(n, size_ - position_);
  std::memcpy(out, memory_ + position_, static_cast<size_t>(take));
  std::memset(out + take, 0, static_cast<size_t>(n - take));
  position_ += take;
  return true;
}

int32_t FileReader::ReadLine(char* line, int32_t max) {
  int32_t count = 0;
  bool ended = false;
  while (count < max && !ended) {
    if (handle_ >= 0) {
      if (bufferHead_ == bufferTail_ && FillBuffer() <= 0) break;
      char c = static_cast<char>(buffer_[bufferHead_++]);
      ++position_;
      ended = c == '\n';
      if (!ended) line[count++] = c;
    } else {
      if (memory_ == nullptr || position_ >= size_) break;
      char c = static_cast<char>(memory_[position_++]);
      ended = c == '\n';
      if (!ended) line[count++] = c;
    }
  }
  if (count == 0 && !ended) return -1;
  // The end of a disk file ends a line as '\n' does; a block's last '\r' is kept.
  bool atEnd = handle_ >= 0 && !ended && count < max;
  if ((ended || atEnd) && count > 0 && line[count - 1] == '\r') --count;
  return count;
}

bool FileReader::Seek(int32_t offset, int32_t origin) {
  // A writer's tracked position stays 0: the write point is the platform's own.
  if (writable_) {
    DropBuffer();
    return platform::SeekHandle(handle_, offset, origin) >= 0;
  }
  int64_t base = origin == 0 ? 0 : origin == 1 ? position_ : size_;
  int64_t target = base + offset;
  // A position before the start is refused and leaves reading where it was.
  if (target < 0 || target > INT32_MAX) return false;
  if (handle_ >= 0) {
    DropBuffer();
    position_ = static_cast<int32_t>(target);
    int64_t moved = origin == 2 ? platform::SeekHandle(handle_, offset, 2)
                                : platform::SeekHandle(handle_, target, 0);
    return moved >= 0;
  }
  if (memory_ == nullptr || target > size_) return false;
  position_ = static_cast<int32_t>(target);
  return true;
}

bool FileReader::Write(const void* bytes, int32_t n) {
  if (handle_ < 0 || !writable_ || n < 0) return false;
  DropBuffer();
  return platform::WriteHandle(handle_, bytes, static_cast<size_t>(n));
}

bool ReadTextLine(FileReader& reader, std::string& text) {
  text.resize(kLineLimit);
  int32_t count = reader.ReadLine(text.data(), kLineLimit);
  text.resize(count < 0 ? 0 : static_cast<size_t>(count));
  return count >= 0;
}

}  // namespace qrv
