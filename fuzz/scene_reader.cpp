// Fuzz target: an arbitrary file loaded into an object slot, as a scene description when
// it starts with ";DDW" (sub-object names resolve against the current folder).
#include "fuzz_block.h"
#include "fuzz_log_folder.h"
#include "quorvia/scene3d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  UsePrivateTemporaryFolder();
  qrv::RtString block = FuzzInputAsBlock(data, size);
  qrv::ObjectSlot slot;
  qrv::LoadObject(slot, block);
  qrv::ReleaseMemoryBlock(block);
  return 0;
}
