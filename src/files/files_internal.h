// Shared pieces of the files subsystem: host paths, the memory block registry and the
// line reading that channels, the line store and settings files have in common.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "quorvia/files.h"

namespace qrv {

// A block of bytes named by a "mem://" name.
struct MemoryBlock {
  std::unique_ptr<uint8_t[]> bytes;
  int32_t size = 0;
};

// The live block a "mem://" name stands for; null when it names none.
std::shared_ptr<const MemoryBlock> FindMemoryBlock(const char* name);

// A game's name as the host spells it: '\\' turned into '/' (the exact spelling is
// kept; lookups that miss fall back to comparing components without regard to case).
std::string HostName(const char* name);
// The existing file or folder the name means (case ignored when needed); empty if none.
std::string ExistingHostPath(const char* name);
// The absolute path a file loaded by this name is written back to, fixed when it is
// loaded: the program changing its current folder later cannot redirect the write.
std::string WriteBackPath(const char* name);

// ASCII letters folded to lower case, every other byte as it is.
inline char FoldCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
inline bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

// Lines of at most this many bytes; longer ones continue in the next line.
constexpr int32_t kLineLimit = 1024;

// Reads one line into text (see FileReader::ReadLine); false when no byte was left.
bool ReadTextLine(FileReader& reader, std::string& text);

}  // namespace qrv
