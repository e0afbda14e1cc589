// "mem://" names: the registry of live memory blocks. A name carries the block's size
// and a registry key (never an address), so text from a game cannot reach raw memory.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include "files/files_internal.h"

namespace qrv {

namespace {

struct Registry {
  std::mutex lock;
  std::map<uint32_t, std::shared_ptr<const MemoryBlock>> blocks;
  uint32_t nextKey = 0x1000;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// Reads the hexadecimal number at offset: blanks first, then at most 8 digits.
bool ParseHexField(const char* name, size_t offset, uint32_t& value) {
  const char* p = name + offset;
  while (*p == ' ') ++p;
  value = 0;
  int digits = 0;
  for (; std::isxdigit(static_cast<unsigned char>(*p)) && digits < 8; ++p, ++digits) {
    int d = std::isdigit(static_cast<unsigned char>(*p)) ? *p - '0' : (*p | 0x20) - 'a' + 10;
    value = value * 16 + static_cast<uint32_t>(d);
  }
  return digits > 0;
}

}  // namespace

bool IsMemoryName(const char* name) {
  return std::strncmp(name, "mem://", 6) == 0;
}

RtString RegisterMemoryBlock(std::unique_ptr<uint8_t[]> bytes, int32_t size) {
  auto block = std::make_shared<MemoryBlock>();
  block->bytes = std::move(bytes);
  block->size = size;
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.lock);
  uint32_t key = registry.nextKey;
  while (key == 0 || registry.blocks.count(key) != 0) ++key;
  registry.nextKey = key + 1;
  registry.blocks[key] = std::move(block);
  char name[32];
  std::snprintf(name, sizeof name, "mem://%8x.%8x", static_cast<uint32_t>(size), key);
  return RtString(name);
}

std::shared_ptr<const MemoryBlock> FindMemoryBlock(const char* name) {
  uint32_t size = 0, key = 0;
  if (!IsMemoryName(name) || std::strlen(name) < 16) return nullptr;
  if (!ParseHexField(name, 6, size) || !ParseHexField(name, 15, key)) return nullptr;
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.lock);
  auto found = registry.blocks.find(key);
  // The size must agree as well: a name cannot widen a block.
  if (found == registry.blocks.end() || static_cast<uint32_t>(found->second->size) != size) {
    return nullptr;
  }
  return found->second;
}

void ReleaseMemoryBlock(const RtString& name) {
  uint32_t key = 0;
  if (!IsMemoryName(name.c_str()) || name.Length() < 16) return;
  if (!ParseHexField(name.c_str(), 15, key)) return;
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> hold(registry.lock);
  registry.blocks.erase(key);
}

}  // namespace qrv
