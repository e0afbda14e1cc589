// Media packs: resolution of media names to disk files, pack members unpacked into
// memory blocks or temporary files, and the two packs of the process.
#include "files/media_pack.h"

#include "files/files_internal.h"
#include "frame/runtime.h"
#include "platform/platform.h"

namespace qrv {

void MediaPack::SetName(const RtString& name) {
  packName_ = name.c_str();
  enabled_ = true;
  directoryValid_ = false;
}

void MediaPack::ReleaseLast() {
  if (!lastBlock_.Empty()) ReleaseMemoryBlock(lastBlock_);
  lastBlock_.Clear();
  if (!lastTemporaryFile_.empty()) platform::RemoveFile(lastTemporaryFile_);
  lastTemporaryFile_.clear();
}

// Opens the pack file and makes sure the cached directory is the one of its content.
bool MediaPack::OpenPack(FileReader& pack) {
  if (!pack.OpenForReading(packName_.c_str())) return false;
  bool current = directoryValid_;
  platform::FileIdentity identity;
  std::shared_ptr<const MemoryBlock> block;
  if (IsMemoryName(packName_.c_str())) {
    block = FindMemoryBlock(packName_.c_str());
    current = current && block == packBlock_.lock();
  } else {
    platform::IdentifyFile(ExistingHostPath(packName_.c_str()), identity);
    current = current && identity == identity_;
  }
  if (current) return true;
  directoryValid_ = ReadPackDirectory(pack, directory_);
  ++directoryLoads_;
  identity_ = identity;
  packBlock_ = block;
  return directoryValid_;
}

bool MediaPack::Deliver(const PackEntry& entry, std::unique_ptr<uint8_t[]> bytes, int32_t size,
                        RtString& destination, bool toMemory) {
  if (toMemory) {
    lastBlock_ = RegisterMemoryBlock(std::move(bytes), size);
    destination = lastBlock_;
    return true;
  }
  // "dov", two letters from the member's place in the pack, then its name.
  std::string name = "dov";
  name += static_cast<char>('A' + (entry.offset & 0xff) % 26);
  name += static_cast<char>('A' + (entry.storedSize & 0xff) % 26);
  name += entry.name;
  lastTemporaryFile_ = platform::WriteTemporaryFile(name, bytes.get(), static_cast<size_t>(size));
  if (lastTemporaryFile_.empty()) return false;
  destination = lastTemporaryFile_.c_str();
  return true;
}

bool MediaPack::Resolve(const RtString& name, RtString& destination, bool toMemory) {
  ReleaseLast();
  if (name.Empty()) return false;
  destination = name;
  if (IsMemoryName(name.c_str())) return FindMemoryBlock(name.c_str()) != nullptr;
  std::string existing = ExistingHostPath(name.c_str());
  FileReader probe;
  if (!existing.empty() && probe.OpenForReading(existing.c_str())) {
    destination = existing.c_str();
    return true;
  }
  if (!enabled_) return false;
  FileReader pack;
  if (!OpenPack(pack)) return false;
  std::string_view wanted = name.View();
  size_t slash = wanted.find_last_of("/\\");
  if (slash != std::string_view::npos) wanted.remove_prefix(slash + 1);
  const PackEntry* entry = FindPackEntry(directory_, wanted);
  std::unique_ptr<uint8_t[]> bytes;
  int32_t size = 0;
  if (entry == nullptr || !UnpackMember(pack, directory_, *entry, bytes, size)) return false;
  return Deliver(*entry, std::move(bytes), size, destination, toMemory);
}

bool ResolveMediaName(MediaPack* pack, const RtString& name, RtString& destination, bool toMemory) {
  if (pack != nullptr) return pack->Resolve(name, destination, toMemory);
  // Without packs only the disk and live blocks answer.
  MediaPack none;
  return none.Resolve(name, destination, toMemory);
}

MediaPack* MainPack() {
  return TheRuntime().mainPack;
}
MediaPack* MusicPack() {
  return TheRuntime().musicPack;
}

void SetMediaPacks(const RtString& mainPackName, const RtString& musicPackName) {
  Runtime& rt = TheRuntime();
  if (rt.musicPack == nullptr) rt.musicPack = new MediaPack;
  if (rt.mainPack == nullptr) rt.mainPack = new MediaPack;
  rt.mainPack->SetName(mainPackName);
  rt.musicPack->SetName(musicPackName);
}

void StartMediaPacks() {
  // Media may be packed into the program file itself.
  RtString self(platform::ExecutablePath().c_str());
  SetMediaPacks(self, self);
}

void ReleaseMediaPacks() {
  Runtime& rt = TheRuntime();
  delete rt.musicPack;
  rt.musicPack = nullptr;
  delete rt.mainPack;
  rt.mainPack = nullptr;
}

}  // namespace qrv
