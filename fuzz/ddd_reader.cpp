// Fuzz target: an arbitrary file read as a 3D object (".ddd", or a text model without
// the magic), then measured and offered to the saver.
#include "fuzz_block.h"
#include "fuzz_log_folder.h"
#include "quorvia/scene3d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  UsePrivateTemporaryFolder();
  qrv::RtString block = FuzzInputAsBlock(data, size);
  qrv::MeshObject object;
  if (qrv::LoadDddObject(object, block)) {
    qrv::ViewState view;
    qrv::StartView(view, 1, 100, 60, 1.5f);
    for (const qrv::MeshFrame& frame : object.frames) {
      qrv::SphereVisible(view.planes, view.transforms.Current(), frame.sphere);
    }
    qrv::SaveObject(object, block);  // a "mem://" name is never written
  }
  qrv::ReleaseMemoryBlock(block);
  return 0;
}
