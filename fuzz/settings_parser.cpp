// Fuzz target: an arbitrary file loaded as a settings file, then queried and changed.
#include "fuzz_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qrv::RtString block = FuzzInputAsBlock(data, size);
  qrv::IniOpen(block);
  qrv::IniGet("", "key", "none");
  qrv::IniGet("Section", "Key", "none");
  qrv::IniPut("Section", "Key", "value");  // a "mem://" file is never written back
  qrv::IniOpen("");
  qrv::ReleaseMemoryBlock(block);
  return 0;
}
