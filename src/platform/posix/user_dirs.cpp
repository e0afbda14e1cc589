// The documents folder from a user-dirs file: shell-style assignments such as
// XDG_DOCUMENTS_DIR="$HOME/Documents", the last one counting.
#include "platform/posix/desktop_rules.h"

namespace qrv::platform::posix {

namespace {

constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
constexpr std::string_view kHome = "$HOME";

// The value between the double quotes with the shell's backslash escapes undone; false
// when the quotes are not closed.
bool Unquote(std::string_view text, std::string& value) {
  if (text.empty() || text[0] != '"') return false;
  value.clear();
  for (size_t i = 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') return true;
    if (c == '\\' && i + 1 < text.size()) c = text[++i];
    value += c;
  }
  return false;
}

// The folder one assignment names: "$HOME" followed by nothing or by "/...", or an
// absolute path. Empty for anything else.
std::string NamedFolder(const std::string& value, std::string_view home) {
  if (value.compare(0, kHome.size(), kHome) == 0) {
    std::string_view rest = std::string_view(value).substr(kHome.size());
    if (home.empty() || (!rest.empty() && rest[0] != '/')) return std::string();
    return std::string(home) + std::string(rest);
  }
  return !value.empty() && value[0] == '/' ? value : std::string();
}

// The named folder without a trailing '/' (the root keeps its one).
std::string FolderOf(const std::string& value, std::string_view home) {
  std::string folder = NamedFolder(value, home);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

std::string DocumentsFolder(std::string_view userDirs, std::string_view home) {
  std::string folder;
  while (!userDirs.empty()) {
    size_t end = userDirs.find('\n');
    std::string_view line = userDirs.substr(0, end);
    userDirs = end == std::string_view::npos ? std::string_view() : userDirs.substr(end + 1);
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) continue;
    line.remove_prefix(start);
    if (line.substr(0, kKey.size()) != kKey) continue;
    std::string value;
    if (!Unquote(line.substr(kKey.size()), value)) continue;
    if (std::string named = FolderOf(value, home); !named.empty()) folder = named;
  }
  return folder;
}

}  // namespace qrv::platform::posix
