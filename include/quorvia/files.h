// Files and the host: file channels, memory names and media packs, file-system
// helpers, platform information and settings files.
#pragma once

#include <cstdint>
#include <memory>

#include "quorvia/rt_array.h"
#include "quorvia/rt_string.h"

namespace qrv {

// --- FileReader ----------------------------------------------------------------------
// One reader over a disk file or a memory block named by a "mem://" name. Backs the file
// channels and every loader of the runtime. Disk reads and writes go through a buffer of
// the reader's own; the tracked position is what the program sees.
struct MemoryBlock;

class FileReader {
 public:
  FileReader() = default;
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Closes first. A "mem://" name opens its live block (false when it names none);
  // any other name opens the existing file (with '\\' as '/', case ignored when the
  // exact spelling is missing). False when nothing could be opened.
  bool OpenForReading(const char* name);
  // Closes first; deletes any file of that name and creates it new. "mem://" is refused.
  bool OpenForWriting(const char* name);
  // Closes first; opens or creates the file and starts writing after its last byte.
  bool OpenForAppending(const char* name);
  // False when the file could not be closed cleanly.
  bool Close();

  // Reads n bytes at the position. A memory block short of n delivers what remains,
  // zero-filled above, and succeeds; past its end it fails. A short disk read fails.
  bool Read(void* destination, int32_t n);
  bool Read4(void* destination) { return Read(destination, 4); }
  // Reads one line ('\n' ended, at most max bytes, a '\r' before the end dropped) into
  // line; the byte count, or -1 when no byte at all was left.
  int32_t ReadLine(char* line, int32_t max);
  // origin: 0 from the start, 1 from the position, 2 from the end. A file opened for
  // writing or appending moves its write point the same way (past the end leaves a
  // zero-filled gap once written); a point before the start is refused.
  bool Seek(int32_t offset, int32_t origin);
  // True when all bytes reached the disk file. Writes are not held back: other readers
  // of the file see them at once, and a full disk or size limit fails the write itself.
  bool Write(const void* bytes, int32_t n);

  bool IsOpen() const { return handle_ >= 0 || memory_ != nullptr; }
  bool HasHandle() const { return handle_ >= 0; }
  bool HasMemory() const { return memory_ != nullptr; }
  int32_t Size() const { return size_; }
  int32_t Position() const { return position_; }
  // The block being read, null for a disk file (valid while the reader stays open).
  const uint8_t* Memory() const { return memory_; }

 private:
  void DropBuffer();
  int64_t FillBuffer();

  int handle_ = -1;
  const uint8_t* memory_ = nullptr;
  int32_t size_ = 0;
  int32_t position_ = 0;
  std::shared_ptr<const MemoryBlock> block_;  // keeps a memory block alive while read
  std::unique_ptr<uint8_t[]> buffer_;
  int32_t bufferHead_ = 0, bufferTail_ = 0;  // bytes read ahead and not yet delivered
  bool writable_ = false;                    // opened for writing or appending
};

// --- "mem://" names ------------------------------------------------------------------

// Registers a copy-free block (the registry takes ownership) and gives its "mem://" name.
RtString RegisterMemoryBlock(std::unique_ptr<uint8_t[]> bytes, int32_t size);
// The block stops resolving; readers that have it open keep reading it.
void ReleaseMemoryBlock(const RtString& name);
bool IsMemoryName(const char* name);

// --- Media packs ---------------------------------------------------------------------

class MediaPack;
MediaPack* MainPack();   // null before SetMediaPacks
MediaPack* MusicPack();  // null before SetMediaPacks

// Stores both pack names and enables both packs (creating them when absent).
void SetMediaPacks(const RtString& mainPackName, const RtString& musicPackName);
// Turns a media name into something a FileReader or the host can open: the name itself
// when it is a live "mem://" name or a disk file (its spelling on disk when that differs
// in case), else the pack member of the same file name, unpacked into a block ("mem://")
// or into a temporary file. False when nothing was found; destination then holds the name.
bool ResolveMediaName(MediaPack* pack, const RtString& name, RtString& destination, bool toMemory);
// Start-up: both packs on the program's own file. Shutdown: releases both packs.
void StartMediaPacks();
void ReleaseMediaPacks();

// --- File channels (0..7) ------------------------------------------------------------
// A bad channel number stops the program with error 7; a read that cannot deliver its
// bytes or a write that cannot write them stops it with error 3.

int32_t FreeChannel();
// mode >= 1 reads, 0 writes a new file, < 0 appends.
bool OpenChannel(int32_t channel, const RtString& name, int32_t mode);
void CloseChannel(int32_t channel);
void CloseAllChannels();
bool EndOfChannel(int32_t channel);
int32_t ChannelPosition(int32_t channel);
// origin < 0 from the end, > 0 from the position, 0 from the start.
void SeekChannel(int32_t channel, int32_t offset, int32_t origin);

// The raw moves behind the typed families.
void ReadChannelBytes(int32_t channel, void* destination, int32_t n);
void WriteChannelBytes(int32_t channel, const void* bytes, int32_t n);

// Every typed member reads or writes one little-endian value of the stored type.
template <typename Stored, typename Delivered>
void ReadChannelValue(int32_t channel, Delivered& destination) {
  Stored value{};
  ReadChannelBytes(channel, &value, sizeof value);
  destination = static_cast<Delivered>(value);
}
template <typename Stored, typename Given>
void WriteChannelValue(int32_t channel, Given value) {
  Stored stored = static_cast<Stored>(value);
  WriteChannelBytes(channel, &stored, sizeof stored);
}

// The typed members, one row each: name, stored type, the game's type. Writes store the
// value's low bytes, so signed and unsigned members write alike.
#define QRV_CHANNEL_VALUE_KINDS(X) \
  X(Int8, int8_t, int32_t)         \
  X(UInt8, uint8_t, int32_t)       \
  X(Int16, int16_t, int32_t)       \
  X(UInt16, uint16_t, int32_t)     \
  X(Int32, int32_t, int32_t)       \
  X(UInt32, uint32_t, int32_t)     \
  X(Float64, double, double)       \
  X(Float32, float, double)

#define QRV_CHANNEL_VALUE_MEMBERS(Name, Stored, Value)               \
  inline void Read##Name(int32_t channel, Value& destination) {      \
    ReadChannelValue<Stored>(channel, destination);                  \
  }                                                                  \
  inline void Write##Name(int32_t channel, Value value) {            \
    WriteChannelValue<Stored>(channel, value);                       \
  }
QRV_CHANNEL_VALUE_KINDS(QRV_CHANNEL_VALUE_MEMBERS)
#undef QRV_CHANNEL_VALUE_MEMBERS
#undef QRV_CHANNEL_VALUE_KINDS

// n <= 0 gives the empty string without touching the channel.
void ReadBytes(int32_t channel, RtString& destination, int32_t n);
// One line of at most 1024 bytes; reading at the end of the data stops the program.
void ReadLine(int32_t channel, RtString& destination);
void ReadLineNumber(int32_t channel, double& destination);
void ReadLineInteger(int32_t channel, int32_t& destination);
void WriteBytes(int32_t channel, const RtString& text);
// The text followed by CR LF.
void WriteLine(int32_t channel, const RtString& text);

// --- File-system helpers -------------------------------------------------------------

bool FileExists(const RtString& name);
// Error 3 and 0 when the file cannot be opened.
int32_t FileSize(const RtString& name);
bool RemoveFile(const RtString& name);
bool MakeDirectory(const RtString& name);
bool DirectoryExists(const RtString& name);
// With '/' separators and a final '/'.
RtString CurrentDirectory();
// 1 on success; 0 and error 3 on failure.
double ChangeDirectory(const RtString& path);
// Turns every '\\' into '/'; the length.
int32_t ToForwardSlashes(RtString& text);
// '*' any run, '?' any one character but '.', letters without regard to case; "*.*" all.
bool WildcardMatch(const char* pattern, const char* name);
// The current directory's folders (all, "." and ".." too) then its files matching the
// pattern, each group sorted without regard to case; files + 65536 * folders.
double ListDirectory(const char* pattern, RtArray<RtString>& names);
// Copies all bytes; a copy that fails midway deletes the destination. True when complete.
bool CopyFileData(const RtString& source, const RtString& destination);

// --- Line store: a text file as 256 numbered lines -----------------------------------

struct LineStore;
void LineStoreGet(const RtString& file, int32_t index, RtString& destination);
double LineStoreGetNumber(const RtString& file, double index);
int32_t LineStoreGetInteger(const RtString& file, double index);
void LineStorePut(const RtString& file, int32_t index, const char* text);
void LineStorePut(const RtString& file, int32_t index, double value);
// Writes the loaded file back when a line was changed (also run at exit).
void LineStoreFlush();

// --- Settings files ------------------------------------------------------------------

struct SettingsStore;
// Writes a changed store back to its file, then loads the named file (empty: none).
// Nothing is written at exit: IniOpen("") saves (from QRV_ON_QUIT, say). Sets the last
// error to 0, and to 3 when the write-back fails.
void IniOpen(const RtString& name);
RtString IniGet(const RtString& section, const RtString& key, const RtString& defaultValue);
void IniPut(const RtString& section, const RtString& key, const RtString& value);
// Reads a settings file into a store of its own, leaving the open settings file alone
// (an empty store when the file cannot be read); looked up like IniGet.
std::shared_ptr<const SettingsStore> ReadSettingsFile(const RtString& name);
RtString SettingsValue(const SettingsStore& store, const RtString& section, const RtString& key,
                       const RtString& defaultValue);

}  // namespace qrv
