// Fuzz target: an arbitrary file read as a media pack (trailer, directory, members).
#include "files/media_pack.h"
#include "fuzz_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qrv::RtString block = FuzzInputAsBlock(data, size);
  qrv::MediaPack pack;
  pack.SetName(block);
  qrv::FileReader reader;
  qrv::PackDirectory directory;
  if (reader.OpenForReading(block.c_str()) && qrv::ReadPackDirectory(reader, directory)) {
    // Every member is unpacked, and resolved by name as loaders do.
    for (const qrv::PackEntry& entry : directory.entries) {
      std::unique_ptr<uint8_t[]> bytes;
      int32_t unpacked = 0;
      qrv::UnpackMember(reader, directory, entry, bytes, unpacked);
      qrv::RtString resolved;
      std::string name = "fuzz/" + entry.name;
      if (entry.name.find_first_of("/\\") == std::string::npos) {
        pack.Resolve(name.c_str(), resolved, true);
      }
    }
  }
  reader.Close();
  qrv::ReleaseMemoryBlock(block);
  return 0;
}
