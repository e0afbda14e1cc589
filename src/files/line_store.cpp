// The line store: one text file at a time held as 256 numbered lines, loaded on
// demand, written back when another file is named and at exit.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "files/files_internal.h"
#include "frame/runtime.h"
#include "platform/fs_host.h"
#include "quorvia/frame.h"
#include "quorvia/values.h"

namespace qrv {

constexpr int32_t kLineSlots = 256;

struct LineStore {
  std::string fileName;
  std::string writePath;  // where the file is written back, fixed at load
  std::array<std::string, kLineSlots> slots;
  int32_t highestSlot = -1;
  bool dirty = false;
  bool holdsData = false;  // loaded from its file, or given lines since
};

namespace {

LineStore& Store() {
  Runtime& rt = TheRuntime();
  if (rt.lineStore == nullptr) rt.lineStore = new LineStore;
  return *rt.lineStore;
}

void WriteBack(LineStore& store) {
  if (!store.dirty || store.fileName.empty() || IsMemoryName(store.fileName.c_str())) return;
  std::string text;
  for (int32_t i = 0; i <= store.highestSlot; ++i) text += store.slots[i] + "\r\n";
  platform::ReplaceFileContent(store.writePath, text.data(), text.size());
  store.dirty = false;
}

void Load(LineStore& store, const RtString& file) {
  store.fileName = file.c_str();
  store.writePath = WriteBackPath(file.c_str());
  RtString resolved;
  ResolveMediaName(MainPack(), file, resolved, true);
  FileReader reader;
  if (!reader.OpenForReading(resolved.c_str())) return;
  std::string line;
  for (int32_t i = 0; i < kLineSlots && ReadTextLine(reader, line); ++i) {
    store.slots[i] = line;
    store.highestSlot = i;
  }
  store.holdsData = true;
}

// The store with this file loaded (switching files first when another one is held).
LineStore& StoreFor(const RtString& file) {
  LineStore& store = Store();
  if (store.fileName != file.View()) {
    WriteBack(store);
    store = LineStore();
    Load(store, file);
  }
  return store;
}

int32_t SlotIndex(double index) {
  return (index > -1 && index < kLineSlots) ? static_cast<int32_t>(index) : -1;
}

}  // namespace

void LineStoreGet(const RtString& file, int32_t index, RtString& destination) {
  LineStore& store = StoreFor(file);
  if (index < 0 || index >= kLineSlots) {
    destination = "NO_DATA";
    RecordError(7);
    return;
  }
  if (!store.holdsData) {
    destination = "NO_FILE";
    RecordError(3, {"LineStoreGet", file.View(), "no such file"});
    return;
  }
  // Trailing control characters go (line ends, tabs); text bytes of any value stay.
  std::string_view text = store.slots[index].c_str();
  while (!text.empty() && static_cast<unsigned char>(text.back()) < 32) text.remove_suffix(1);
  destination = text.empty() ? RtString("NO_DATA") : RtString(text.data(), text.size());
  if (!text.empty()) ClearError();
}

double LineStoreGetNumber(const RtString& file, double index) {
  RtString text;
  LineStoreGet(file, SlotIndex(index), text);
  return TextToNumber(text);
}

int32_t LineStoreGetInteger(const RtString& file, double index) {
  RtString text;
  LineStoreGet(file, SlotIndex(index), text);
  return TextToInteger(text);
}

void LineStorePut(const RtString& file, int32_t index, const char* text) {
  LineStore& store = StoreFor(file);
  if (index < 0 || index >= kLineSlots) {
    RecordError(7);
    return;
  }
  // A slot holds one line of at most 1024 bytes: a line break inside the text would
  // shift every later line of the file when it is written back.
  std::string_view value(text);
  value = value.substr(0, std::min(value.find_first_of("\r\n"), size_t{kLineLimit}));
  store.slots[index] = value;
  store.highestSlot = std::max(store.highestSlot, index);
  store.dirty = true;
  store.holdsData = true;
  ClearError();
}

void LineStorePut(const RtString& file, int32_t index, double value) {
  LineStorePut(file, index, NumberText(value).c_str());
}

void LineStoreFlush() {
  if (TheRuntime().lineStore != nullptr) WriteBack(Store());
}

}  // namespace qrv
