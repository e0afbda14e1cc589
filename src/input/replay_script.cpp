// The replay script parser and the line writer. Parsing is strict: a script that says
// something other than what its author meant must stop the run, not drive it wrongly.
// Keys are scan codes in decimal or the names of key_codes.h; recordings write codes.
#include "input/replay_script.h"

#include <algorithm>
#include <cctype>

#include "input/key_names_table.h"

namespace qrv {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// Reads one decimal number of at most `limit` at `pos`, ended by a blank, the line's end
// or `stop`; false when there is none or it is too large (checked digit by digit, so no
// length of digits can overflow).
bool ReadNumber(std::string_view line, size_t* pos, int64_t limit, int64_t* value,
                char stop = ' ') {
  size_t start = *pos;
  int64_t number = 0;
  while (*pos < line.size() && line[*pos] >= '0' && line[*pos] <= '9') {
    number = number * 10 + (line[*pos] - '0');
    if (number > limit) return false;
    ++*pos;
  }
  if (*pos == start) return false;
  // "12x" is not a number
  if (*pos < line.size() && !IsBlank(line[*pos]) && line[*pos] != stop) return false;
  *value = number;
  return true;
}

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// A key by its name in key_codes.h, without letter case, the prefix "kKey" optional
// ("Right", "space", "kKey1"); false when no key has the name.
bool KeyByName(std::string_view name, int64_t* code) {
  if (name.size() > 4 && SameLetters(name.substr(0, 4), "kkey")) name.remove_prefix(4);
  for (const KeyName& key : kKeyNames) {
    if (SameLetters(name, key.name)) {
      *code = key.code;
      return true;
    }
  }
  return false;
}

std::string LineError(size_t number, const std::string& what) {
  return "line " + std::to_string(number) + ": " + what;
}

}  // namespace

bool ReplayScript::Parse(std::string_view text, std::string* error) {
  steps_.clear();
  size_t lineNumber = 0;
  while (!text.empty()) {
    size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    ++lineNumber;
    line = line.substr(0, std::min(line.find('#'), line.size()));

    Step step{{-1, 0}, {}};
    size_t pos = 0;
    for (;;) {
      while (pos < line.size() && IsBlank(line[pos])) ++pos;
      if (pos == line.size()) break;
      int64_t value = 0;
      bool first = step.moment.frame < 0;
      if (!first && std::isalpha(static_cast<unsigned char>(line[pos]))) {
        size_t end = pos;
        while (end < line.size() && !IsBlank(line[end])) ++end;
        std::string_view name = line.substr(pos, end - pos);
        if (!KeyByName(name, &value)) {
          steps_.clear();
          *error = LineError(lineNumber, "unknown key name '" + std::string(name) + "'");
          return false;
        }
        step.keys.set(static_cast<size_t>(value));
        pos = end;
        continue;
      }
      bool read = first ? ReadNumber(line, &pos, kMaxFrame, &step.moment.frame, ':')
                        : ReadNumber(line, &pos, 255, &value);
      if (read && first && pos < line.size() && line[pos] == ':') {
        ++pos;
        read = ReadNumber(line, &pos, kMaxFrame, &step.moment.reading);
      }
      if (!read) {
        steps_.clear();
        *error = LineError(lineNumber,
                           first ? "expected a present number 0.." + std::to_string(kMaxFrame)
                                 : "expected a scan code 0..255");
        return false;
      }
      if (!first) step.keys.set(static_cast<size_t>(value));
    }
    if (step.moment.frame < 0) continue;  // blank or comment line
    if (!steps_.empty() && step.moment <= steps_.back().moment) {
      steps_.clear();
      *error = LineError(lineNumber, "present numbers must ascend");
      return false;
    }
    steps_.push_back(step);
  }
  return true;
}

const HeldKeys& ReplayScript::KeysAt(KeyMoment moment) const {
  static const HeldKeys kNothing;
  auto after =
      std::upper_bound(steps_.begin(), steps_.end(), moment,
                       [](const KeyMoment& m, const Step& step) { return m < step.moment; });
  return after == steps_.begin() ? kNothing : std::prev(after)->keys;
}

std::string FormatReplayLine(KeyMoment moment, const HeldKeys& keys) {
  std::string line = std::to_string(moment.frame);
  if (moment.reading != 0) line += ":" + std::to_string(moment.reading);
  for (size_t code = 0; code < keys.size(); ++code) {
    if (keys.test(code)) line += " " + std::to_string(code);
  }
  return line + "\n";
}

}  // namespace qrv
