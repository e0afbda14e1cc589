// qrv pack: builds media packs (LZO1X-packed members, the directory and the "sbX"
// trailer), lists them and extracts members, reading packs exactly as the runtime does.
#include <lzo/lzo1x.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files/files_internal.h"
#include "files/pack_format.h"
#include "tool_command.h"
#include "tool_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The whole file as bytes; why names the path and the system's reason.
bool ReadBytes(const std::string& path, Bytes& bytes, std::string& why) {
  std::string text;
  if (!qrv::tool::ReadWholeFile(path, text, why)) {
    why = path + ": " + why;
    return false;
  }
  bytes.assign(text.begin(), text.end());
  return true;
}

bool WriteBytes(const std::string& path, const Bytes& bytes, std::string& why) {
  std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (qrv::tool::WriteWholeFile(path, view, why)) return true;
  why = path + ": " + why;
  return false;
}

void AppendInt32(Bytes& out, int32_t value) {
  uint8_t bytes[4];
  std::memcpy(bytes, &value, 4);
  out.insert(out.end(), bytes, bytes + 4);
}

// The unpacked size, then the LZO1X data (the slow, tight compressor: packs are built once).
bool AppendPackedMember(Bytes& out, const Bytes& data) {
  Bytes packed(data.size() + data.size() / 16 + 64 + 3);
  std::vector<uint8_t> work(LZO1X_999_MEM_COMPRESS);
  lzo_uint packedSize = packed.size();
  if (lzo1x_999_compress(data.data(), data.size(), packed.data(), &packedSize, work.data()) !=
      LZO_E_OK) {
    return false;
  }
  AppendInt32(out, static_cast<int32_t>(data.size()));
  out.insert(out.end(), packed.begin(), packed.begin() + static_cast<ptrdiff_t>(packedSize));
  return true;
}

int Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "qrv pack: %s%s\n", what, detail.c_str());
  return 1;
}

// Offsets count from the start of the pack, or from the end of the whole file when the
// pack follows a program (so that whatever precedes it may change size).
int32_t StoredOffset(int64_t at, int64_t total, bool endRelative) {
  return static_cast<int32_t>(endRelative ? at - total : at);
}

int Create(const std::string& out, const std::vector<std::string>& files, const char* appendTo) {
  if (lzo_init() != LZO_E_OK) return Fail("LZO cannot start", "");
  Bytes file;
  std::string why;
  if (appendTo != nullptr && !ReadBytes(appendTo, file, why)) return Fail("cannot read ", why);
  std::vector<qrv::PackEntry> entries;
  for (const std::string& path : files) {
    qrv::PackEntry entry;
    entry.name = std::filesystem::path(path).filename().string();
    if (entry.name.empty() || entry.name.size() > 255) return Fail("bad member name: ", path);
    for (const qrv::PackEntry& other : entries) {
      if (qrv::EqualIgnoringCase(other.name, entry.name)) return Fail("duplicate name: ", path);
    }
    Bytes data;
    if (!ReadBytes(path, data, why)) return Fail("cannot read ", why);
    if (data.size() > INT32_MAX / 2) return Fail("too large: ", path);
    entry.offset = static_cast<int32_t>(file.size());  // from the start for now
    if (!AppendPackedMember(file, data)) return Fail("cannot pack ", path);
    entry.storedSize = static_cast<int32_t>(file.size()) - entry.offset;
    entries.push_back(entry);
  }
  int64_t directoryAt = static_cast<int64_t>(file.size());
  int64_t directoryBytes = 1 + qrv::kPackTrailerSize;
  for (const qrv::PackEntry& entry : entries) directoryBytes += 1 + entry.name.size() + 8;
  int64_t total = directoryAt + directoryBytes;
  if (total > INT32_MAX) return Fail("the pack would exceed 2 GiB", "");
  bool endRelative = appendTo != nullptr;
  for (const qrv::PackEntry& entry : entries) {
    file.push_back(static_cast<uint8_t>(entry.name.size()));
    file.insert(file.end(), entry.name.begin(), entry.name.end());
    AppendInt32(file, StoredOffset(entry.offset, total, endRelative));
    AppendInt32(file, entry.storedSize);
  }
  file.push_back(0);
  file.insert(file.end(), qrv::kPackMagic, qrv::kPackMagic + 3);
  AppendInt32(file, StoredOffset(directoryAt, total, endRelative));
  if (!WriteBytes(out, file, why)) return Fail("cannot write ", why);
  // A program with its pack stays a program.
  std::error_code ignored;
  if (appendTo != nullptr) {
    std::filesystem::permissions(out, std::filesystem::status(appendTo).permissions(), ignored);
  }
  return 0;
}

// Opens a pack as the runtime does; a file that cannot be read says why.
int OpenPack(const char* path, qrv::FileReader& pack, qrv::PackDirectory& directory) {
  std::string problem = qrv::tool::ReadProblem(path);
  if (!problem.empty()) return Fail("cannot read ", std::string(path) + ": " + problem);
  if (!pack.OpenForReading(path) || !qrv::ReadPackDirectory(pack, directory)) {
    return Fail("not a media pack (no valid pack directory at its end): ", path);
  }
  return 0;
}

int List(const char* path) {
  qrv::FileReader pack;
  qrv::PackDirectory directory;
  if (int failed = OpenPack(path, pack, directory)) return failed;
  for (const qrv::PackEntry& entry : directory.entries) {
    std::unique_ptr<uint8_t[]> bytes;
    int32_t size = 0;
    bool whole = qrv::UnpackMember(pack, directory, entry, bytes, size);
    std::printf("%-32s %10d %10d%s\n", entry.name.c_str(), entry.storedSize, size,
                whole ? "" : "  damaged");
  }
  return 0;
}

int Extract(const char* path, const char* name, const std::string& out) {
  qrv::FileReader pack;
  qrv::PackDirectory directory;
  if (int failed = OpenPack(path, pack, directory)) return failed;
  const qrv::PackEntry* entry = qrv::FindPackEntry(directory, name);
  if (entry == nullptr) return Fail("no such member: ", name);
  std::unique_ptr<uint8_t[]> bytes;
  int32_t size = 0;
  if (!qrv::UnpackMember(pack, directory, *entry, bytes, size)) return Fail("damaged: ", name);
  std::string why;
  return WriteBytes(out, Bytes(bytes.get(), bytes.get() + size), why) ? 0
                                                                      : Fail("cannot write ", why);
}

int Run(int argc, char** argv) {
  std::string verb = argc > 0 ? argv[0] : "";
  if (verb == "create") {
    const char* appendTo = nullptr;
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
      if (std::strcmp(argv[i], "--append-to") == 0) {
        if (i + 1 == argc) return Fail("--append-to needs the program to append to", "");
        appendTo = argv[++i];
      } else {
        words.push_back(argv[i]);
      }
    }
    if (words.size() >= 2) return Create(words[0], {words.begin() + 1, words.end()}, appendTo);
  } else if (verb == "list" && argc == 2) {
    return List(argv[1]);
  } else if (verb == "extract" && argc == 4) {
    return Extract(argv[1], argv[2], argv[3]);
  }
  std::fprintf(stderr,
               "usage: qrv pack create [--append-to EXE] OUT FILE...\n"
               "       qrv pack list PACK\n"
               "       qrv pack extract PACK NAME OUT\n");
  return 2;
}

}  // namespace

QRV_TOOL_COMMAND(pack, "create [--append-to EXE] OUT FILE... | list PACK | extract PACK NAME OUT",
                 Run);
