// Settings files: one sectioned key=value file held in memory at a time, looked up
// without regard to case and written back when the program switches files. A write-back
// that fails records error 3: the changes would otherwise be lost without a word.
#include <vector>

#include "files/files_internal.h"
#include "frame/runtime.h"
#include "platform/fs_host.h"
#include "quorvia/frame.h"

namespace qrv {

struct SettingsEntry {
  std::string key, value;
};
struct SettingsSection {
  std::string name;
  std::vector<SettingsEntry> entries;
};

struct SettingsStore {
  std::vector<SettingsSection> sections;
  std::string fileName;
  std::string writePath;  // where the file is written back, fixed at load
  bool changed = false;
};

namespace {

SettingsStore& Store() {
  Runtime& rt = TheRuntime();
  if (rt.settingsStore == nullptr) rt.settingsStore = new SettingsStore;
  return *rt.settingsStore;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimTrailing(std::string_view text, bool (*drop)(char)) {
  while (!text.empty() && drop(text.back())) text.remove_suffix(1);
  return text;
}
bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 32;
}
bool IsBlankOrControl(char c) {
  return IsBlank(c) || IsControl(c);
}

// A section name or a key ends at the first blank, tab, '=' or control byte.
std::string_view Word(std::string_view text) {
  size_t end = 0;
  while (end < text.size() && !IsBlankOrControl(text[end]) && text[end] != '=') ++end;
  return text.substr(0, end);
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// "[name]": the name is the first word after '[', less a ']' that ends it ("[My Game]"
// names "My").
std::string SectionName(std::string_view line) {
  std::string_view name = Word(SkipBlanks(line.substr(1)));
  if (!name.empty() && name.back() == ']') name.remove_suffix(1);
  return std::string(name);
}

void ParseLine(SettingsStore& store, std::string_view line) {
  while (!line.empty() && IsBlankOrControl(line.front())) line.remove_prefix(1);
  if (line.empty() || line.front() == ';') return;
  if (line.front() == '[') {
    store.sections.push_back({SectionName(line), {}});
    return;
  }
  // "key = value": the key is the first word; without an '=' after it, no entry. Only
  // control bytes leave the value's end: bytes 128-255 are text (UTF-8 and the like).
  std::string_view key = Word(line);
  std::string_view rest = SkipBlanks(line.substr(key.size()));
  if (rest.empty() || rest.front() != '=') return;
  std::string_view value = SkipBlanks(rest.substr(1));
  if (store.sections.empty()) store.sections.push_back({std::string(), {}});
  store.sections.back().entries.push_back(
      {std::string(key), std::string(TrimTrailing(value, IsControl))});
}

void Load(SettingsStore& store, const RtString& name) {
  RtString resolved;
  ResolveMediaName(MainPack(), name, resolved, true);
  FileReader reader;
  if (!reader.OpenForReading(resolved.c_str())) return;
  std::string line;
  while (ReadTextLine(reader, line)) ParseLine(store, line);
  // Sections without entries are not kept.
  std::erase_if(store.sections, [](const SettingsSection& s) { return s.entries.empty(); });
}

void WriteBack(const SettingsStore& store) {
  if (IsMemoryName(store.fileName.c_str())) return;
  std::string text;
  for (const SettingsSection& section : store.sections) {
    text += "[" + section.name + "]\r\n";
    for (const SettingsEntry& entry : section.entries) {
      text += entry.key + "=" + entry.value + "\r\n";
    }
  }
  if (!platform::ReplaceFileContent(store.writePath, text.data(), text.size())) {
    RecordError(3, {"IniOpen", store.writePath, "cannot be written"});
  }
}

template <typename List>
auto* FindByName(List& list, std::string_view name, auto nameOf) {
  for (auto& item : list) {
    if (EqualIgnoringCase(nameOf(item), name)) return &item;
  }
  return static_cast<decltype(&list.front())>(nullptr);
}

// Const stores give const answers.
template <typename Store>
auto* FindSection(Store& store, std::string_view name) {
  return FindByName(store.sections, name, [](const SettingsSection& s) { return s.name; });
}
template <typename Section>
auto* FindEntry(Section& section, std::string_view key) {
  return FindByName(section.entries, key, [](const SettingsEntry& e) { return e.key; });
}

}  // namespace

void IniOpen(const RtString& name) {
  ClearError();
  SettingsStore& store = Store();
  if (store.changed && !store.fileName.empty()) WriteBack(store);
  store = SettingsStore();
  if (name.Empty()) return;
  store.fileName = name.c_str();
  store.writePath = WriteBackPath(name.c_str());
  Load(store, name);
}

RtString IniGet(const RtString& section, const RtString& key, const RtString& defaultValue) {
  return SettingsValue(Store(), section, key, defaultValue);
}

std::shared_ptr<const SettingsStore> ReadSettingsFile(const RtString& name) {
  auto store = std::make_shared<SettingsStore>();
  store->fileName = name.c_str();
  Load(*store, name);
  return store;
}

RtString SettingsValue(const SettingsStore& store, const RtString& section, const RtString& key,
                       const RtString& defaultValue) {
  const SettingsSection* found = FindSection(store, section.c_str());
  const SettingsEntry* entry = found != nullptr ? FindEntry(*found, key.c_str()) : nullptr;
  return entry != nullptr ? RtString(entry->value.c_str()) : defaultValue;
}

// Each part of a put is one line of the file: a line break would start a new line (a
// section of the program's choosing, say) when the file is written back.
static std::string_view FirstLine(const RtString& text) {
  std::string_view view(text.c_str());
  return view.substr(0, view.find_first_of("\r\n"));
}

void IniPut(const RtString& section, const RtString& key, const RtString& value) {
  SettingsStore& store = Store();
  std::string_view sectionName = FirstLine(section), keyName = FirstLine(key);
  SettingsSection* found = FindSection(store, sectionName);
  if (found == nullptr) {
    store.sections.push_back({std::string(sectionName), {}});
    found = &store.sections.back();
  }
  SettingsEntry* entry = FindEntry(*found, keyName);
  if (entry != nullptr) {
    entry->value = FirstLine(value);
  } else {
    found->entries.push_back({std::string(keyName), std::string(FirstLine(value))});
  }
  store.changed = true;
}

}  // namespace qrv
