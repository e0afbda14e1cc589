// The media pack format: a trailer ("sbX" and the directory offset) at the end of the
// file, a directory of named members, and LZO1X-packed member data. Read by the runtime
// and by the qrv tool; written only by the tool.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "quorvia/files.h"

namespace qrv {

constexpr char kPackMagic[3] = {'s', 'b', 'X'};
constexpr int32_t kPackTrailerSize = 7;

struct PackEntry {
  std::string name;
  int32_t offset = 0;      // as stored: from the start, or from the end of the file
  int32_t storedSize = 0;  // the unpacked size (4 bytes) and the LZO1X data
};

struct PackDirectory {
  std::vector<PackEntry> entries;
  bool endRelative = false;  // offsets count from the end (a pack appended to a file)
};

// Reads the trailer and the whole directory. False for a wrong magic or a directory
// that does not lie whole inside the file.
bool ReadPackDirectory(FileReader& pack, PackDirectory& directory);
// The entry whose name equals the name without regard to ASCII case; null if none.
const PackEntry* FindPackEntry(const PackDirectory& directory, std::string_view name);
// Unpacks a member. False when its data lies outside the file, its unpacked size is
// absurd or its LZO1X data is damaged; nothing outside the file is ever read.
bool UnpackMember(FileReader& pack, const PackDirectory& directory, const PackEntry& entry,
                  std::unique_ptr<uint8_t[]>& bytes, int32_t& size);

}  // namespace qrv
