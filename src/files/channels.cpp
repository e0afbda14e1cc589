// The eight file channels: opening, closing and positioning, and the raw reads and
// writes behind the typed families, with the runtime's stops for bad use.
#include <bit>
#include <cstdlib>
#include <cstring>

#include "files/files_internal.h"
#include "frame/runtime.h"
#include "quorvia/values.h"

namespace qrv {

static_assert(std::endian::native == std::endian::little, "channel values are little-endian");

constexpr int32_t kChannelCount = 8;

struct ChannelTable {
  FileReader readers[kChannelCount];
};

namespace {

ChannelTable& Channels() {
  Runtime& rt = TheRuntime();
  if (rt.channels == nullptr) rt.channels = new ChannelTable;
  return *rt.channels;
}

// The reader of a channel number; a number outside 0..7 stops the program.
FileReader& Channel(int32_t channel) {
  if (channel < 0 || channel >= kChannelCount) ErrorStop(7);
  return Channels().readers[channel];
}

bool OpenForReadingThroughMainPack(FileReader& reader, const RtString& name) {
  RtString resolved;
  if (!ResolveMediaName(MainPack(), name, resolved, true)) {
    RecordError(3, {"OpenChannel", name.View(), "no such file"});
  }
  return reader.OpenForReading(resolved.Empty() ? name.c_str() : resolved.c_str());
}

}  // namespace

int32_t FreeChannel() {
  for (int32_t channel = 0; channel < kChannelCount; ++channel) {
    if (!Channels().readers[channel].HasHandle()) return channel;
  }
  return -1;
}

bool OpenChannel(int32_t channel, const RtString& name, int32_t mode) {
  ClearError();
  FileReader& reader = Channel(channel);
  reader.Close();
  bool open = mode >= 1   ? OpenForReadingThroughMainPack(reader, name)
              : mode == 0 ? reader.OpenForWriting(name.c_str())
                          : reader.OpenForAppending(name.c_str());
  if (!open) RecordError(3, {"OpenChannel", name.View(), "cannot be opened"});
  return open;
}

void CloseChannel(int32_t channel) {
  ClearError();
  // A file the host cannot close cleanly may not hold what was written.
  if (!Channel(channel).Close()) ErrorStop(3);
}

void CloseAllChannels() {
  if (TheRuntime().channels == nullptr) return;
  for (FileReader& reader : Channels().readers) {
    if (!reader.Close()) RecordError(3);
  }
}

bool EndOfChannel(int32_t channel) {
  FileReader& reader = Channel(channel);
  return reader.Position() >= reader.Size();
}

int32_t ChannelPosition(int32_t channel) {
  return Channel(channel).Position();
}

void SeekChannel(int32_t channel, int32_t offset, int32_t origin) {
  FileReader& reader = Channel(channel);
  if (reader.IsOpen()) reader.Seek(offset, origin < 0 ? 2 : origin > 0 ? 1 : 0);
}

void ReadChannelBytes(int32_t channel, void* destination, int32_t n) {
  if (!Channel(channel).Read(destination, n)) ErrorStop(3);
}

void WriteChannelBytes(int32_t channel, const void* bytes, int32_t n) {
  if (!Channel(channel).Write(bytes, n)) ErrorStop(3);
}

void ReadBytes(int32_t channel, RtString& destination, int32_t n) {
  if (n <= 0) {
    destination = "";
    return;
  }
  FileReader& reader = Channel(channel);
  // A disk file cannot deliver more than it holds: stop before making room for it.
  if (!reader.IsOpen() || (reader.HasHandle() && n > reader.Size() - reader.Position())) {
    ErrorStop(3);
  }
  // Room the memory cannot give stops the program with error 7.
  RtString bytes;
  bytes.Reserve(static_cast<uint32_t>(n), false);
  ReadChannelBytes(channel, bytes.Data(), n);
  bytes.SetLength(n);
  destination.Swap(bytes);
}

void ReadLine(int32_t channel, RtString& destination) {
  FileReader& reader = Channel(channel);
  destination.Reserve(kLineLimit, false);
  std::memset(destination.Data(), 0, kLineLimit + 1);
  int32_t count = reader.ReadLine(destination.Data(), kLineLimit);
  if (count < 0) ErrorStop(3);
  destination.Data()[count] = 0;
  destination.FixLength();
}

void ReadLineNumber(int32_t channel, double& destination) {
  RtString line;
  ReadLine(channel, line);
  destination = TextToNumber(line);
}

void ReadLineInteger(int32_t channel, int32_t& destination) {
  RtString line;
  ReadLine(channel, line);
  destination = TextToInteger(line);
}

void WriteBytes(int32_t channel, const RtString& text) {
  WriteChannelBytes(channel, text.c_str(), static_cast<int32_t>(text.Length()));
}

void WriteLine(int32_t channel, const RtString& text) {
  WriteBytes(channel, text);
  WriteChannelBytes(channel, "\r\n", 2);
}

}  // namespace qrv
