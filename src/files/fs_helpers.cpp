// The file-system helpers game programs call: existence and size, removal, folders,
// the current directory, separators and copying.
#include <algorithm>

#include "files/files_internal.h"
#include "platform/fs_host.h"
#include "platform/platform.h"
#include "quorvia/frame.h"

namespace qrv {

bool FileExists(const RtString& name) {
  FileReader reader;
  return reader.OpenForReading(name.c_str());
}

int32_t FileSize(const RtString& name) {
  ClearError();
  FileReader reader;
  if (!reader.OpenForReading(name.c_str())) {
    RecordError(3, {"FileSize", name.View(), "no such file"});
    return 0;
  }
  return reader.Size();
}

bool RemoveFile(const RtString& name) {
  std::string path = ExistingHostPath(name.c_str());
  return !path.empty() && !platform::IsDirectory(path) && platform::RemoveFile(path);
}

bool MakeDirectory(const RtString& name) {
  return !name.Empty() && platform::MakeDirectory(platform::PathForNewFile(HostName(name.c_str())));
}

bool DirectoryExists(const RtString& name) {
  std::string path = ExistingHostPath(name.c_str());
  return !path.empty() && platform::IsDirectory(path);
}

RtString CurrentDirectory() {
  std::string path = platform::CurrentDirectory();
  if (path.empty() || path.back() != '/') path += '/';
  return RtString(path.c_str());
}

double ChangeDirectory(const RtString& path) {
  ClearError();
  std::string existing = ExistingHostPath(path.c_str());
  if (existing.empty() || !platform::ChangeDirectory(existing)) {
    RecordError(3, {"ChangeDirectory", path.View(), "no such folder"});
    return 0;
  }
  return 1;
}

int32_t ToForwardSlashes(RtString& text) {
  std::replace(text.Data(), text.Data() + text.Length(), '\\', '/');
  return static_cast<int32_t>(text.Length());
}

bool CopyFileData(const RtString& source, const RtString& destination) {
  FileReader from, to;
  if (!from.OpenForReading(source.c_str()) || !to.OpenForWriting(destination.c_str())) {
    return false;
  }
  char chunk[4096];
  bool ok = true;
  while (ok && from.Position() < from.Size()) {
    int32_t n = std::min<int32_t>(sizeof chunk, from.Size() - from.Position());
    ok = from.Read(chunk, n) && to.Write(chunk, n);
  }
  ok = to.Close() && ok;
  if (!ok) RemoveFile(destination);
  return ok;
}

}  // namespace qrv
