// Directory listings: wildcard matching of names and the sorted listing of the current
// directory into a string array, folders first.
#include <algorithm>

#include "files/files_internal.h"
#include "platform/fs_host.h"
#include "platform/platform.h"

namespace qrv {

bool WildcardMatch(const char* pattern, const char* name) {
  if (std::string_view(pattern) == "*.*") return true;
  // Greedy matching that, on a mismatch, lets the last '*' swallow one more character.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name != 0) {
    if (*pattern == '*') {
      while (*pattern == '*') ++pattern;
      if (*pattern == 0) return true;
      star = pattern;
      resume = name;
    } else if (*pattern != 0 &&
               (*pattern == '?' ? *name != '.' : FoldCase(*pattern) == FoldCase(*name))) {
      ++pattern;
      ++name;
    } else if (star != nullptr) {
      pattern = star;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

namespace {

// Ascending without regard to ASCII case; names equal that way keep a fixed order.
bool SortsBefore(const std::string& a, const std::string& b) {
  auto folded = [](char c) { return static_cast<unsigned char>(FoldCase(c)); };
  bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                           [&](char x, char y) { return folded(x) < folded(y); });
  return less || (EqualIgnoringCase(a, b) && a < b);
}

}  // namespace

double ListDirectory(const char* pattern, RtArray<RtString>& names) {
  std::vector<platform::DirectoryEntry> entries;
  platform::ListDirectoryEntries(platform::CurrentDirectory(), entries);
  std::vector<std::string> folders, files;
  for (platform::DirectoryEntry& entry : entries) {
    if (entry.isDirectory) {
      folders.push_back(std::move(entry.name));
    } else if (WildcardMatch(pattern, entry.name.c_str())) {
      files.push_back(std::move(entry.name));
    }
  }
  std::sort(folders.begin(), folders.end(), SortsBefore);
  std::sort(files.begin(), files.end(), SortsBefore);
  names.Dim(static_cast<int32_t>(folders.size() + files.size()));
  int32_t i = 0;
  for (const auto* list : {&folders, &files}) {
    for (const std::string& name : *list) names.ElementAt(i++) = RtString(name.c_str());
  }
  return static_cast<double>(files.size()) + 65536.0 * static_cast<double>(folders.size());
}

}  // namespace qrv
