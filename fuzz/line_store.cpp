// Fuzz target: an arbitrary file loaded into the line store and every line read back.
#include "fuzz_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qrv::RtString block = FuzzInputAsBlock(data, size);
  qrv::RtString line;
  for (int32_t i = 0; i < 256; ++i) qrv::LineStoreGet(block, i, line);
  qrv::LineStorePut(block, 3, "changed");  // a "mem://" file is never written back
  qrv::LineStoreGet("", 0, line);
  qrv::ReleaseMemoryBlock(block);
  return 0;
}
