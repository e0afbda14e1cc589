// Fuzz target: an arbitrary file read as a Wavefront OBJ model.
#include "fuzz_block.h"
#include "quorvia/scene3d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qrv::RtString block = FuzzInputAsBlock(data, size);
  qrv::MeshObject object;
  qrv::LoadObjModel(object, block);
  qrv::ReleaseMemoryBlock(block);
  return 0;
}
