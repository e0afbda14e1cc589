// The program a shell command line runs first, read the way the shell reads its first
// simple command: blanks, quotes and backslashes, and leading variable assignments.
// Anything the shell would expand gives no answer; the shell then decides alone.
#include <cctype>

#include "host/host_rules.h"

namespace qrv::host {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}
bool IsOperator(char c) {
  return c == ';' || c == '&' || c == '|' || c == '<' || c == '>' || c == '(' || c == ')';
}
bool IsNameChar(char c, bool first) {
  return c == '_' || std::isalpha(static_cast<unsigned char>(c)) != 0 ||
         (!first && std::isdigit(static_cast<unsigned char>(c)) != 0);
}

struct Word {
  std::string text;     // after quote removal
  bool literal = true;  // no expansion, glob or unclosed quote
  bool assignment = false;
};

// Reads the double-quoted part after the opening quote; false on an unclosed quote.
bool ReadDoubleQuoted(std::string_view line, size_t& i, Word& word) {
  for (; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') return true;
    if (c == '$' || c == '`') word.literal = false;
    if (c == '\\' && i + 1 < line.size() &&
        std::string_view("$`\"\\\n").find(line[i + 1]) != std::string_view::npos) {
      c = line[++i];
    }
    word.text += c;
  }
  return false;
}

// Reads one word starting at i (not a blank); i ends after it.
Word ReadWord(std::string_view line, size_t& i) {
  Word word;
  bool nameSoFar = true;  // the unquoted text so far could be a variable name
  if (line[i] == '#' || line[i] == '~') word.literal = false;
  for (; i < line.size() && !IsBlank(line[i]) && !IsOperator(line[i]); ++i) {
    char c = line[i];
    if (c == '=' && nameSoFar && !word.text.empty()) word.assignment = true;
    nameSoFar = nameSoFar && !word.assignment && IsNameChar(c, word.text.empty());
    if (c == '\'') {
      size_t close = line.find('\'', i + 1);
      if (close == std::string_view::npos) return {std::string(), false, false};
      word.text.append(line.substr(i + 1, close - i - 1));
      i = close;
    } else if (c == '"') {
      ++i;
      if (!ReadDoubleQuoted(line, i, word)) return {std::string(), false, false};
    } else if (c == '\\') {
      if (i + 1 < line.size()) word.text += line[++i];
    } else {
      if (c == '$' || c == '`' || c == '*' || c == '?' || c == '[') word.literal = false;
      word.text += c;
    }
  }
  return word;
}

}  // namespace

std::string CommandProgram(std::string_view line) {
  size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size() || IsOperator(line[i])) return std::string();
    Word word = ReadWord(line, i);
    if (word.assignment) continue;
    return word.literal ? word.text : std::string();
  }
}

}  // namespace qrv::host
