// MediaPack: a pack file (on disk or a "mem://" block) whose members resolve by file
// name. The parsed directory is kept until the pack file changes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "files/pack_format.h"
#include "platform/fs_host.h"

namespace qrv {

class MediaPack {
 public:
  ~MediaPack() { ReleaseLast(); }

  void SetName(const RtString& name);
  bool Enabled() const { return enabled_; }
  // See ResolveMediaName.
  bool Resolve(const RtString& name, RtString& destination, bool toMemory);
  // Frees the block and deletes the temporary file of the last resolution.
  void ReleaseLast();
  // How often the directory was read (it is read again only when the pack changes).
  int32_t DirectoryLoads() const { return directoryLoads_; }

 private:
  bool OpenPack(FileReader& pack);
  bool Deliver(const PackEntry& entry, std::unique_ptr<uint8_t[]> bytes, int32_t size,
               RtString& destination, bool toMemory);

  bool enabled_ = false;
  std::string packName_;
  std::string lastTemporaryFile_;
  RtString lastBlock_;
  // The cached directory and what it was read from.
  PackDirectory directory_;
  bool directoryValid_ = false;
  platform::FileIdentity identity_;
  std::weak_ptr<const MemoryBlock> packBlock_;
  int32_t directoryLoads_ = 0;
};

}  // namespace qrv
