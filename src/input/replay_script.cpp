// The replay script parser and the line writer. Parsing is strict: a script that says
// something other than what its author meant must stop the run, not drive it wrongly.
// Keys are scan codes in decimal or the names of key_codes.h, '*' before one marking a tap;
// recordings write codes.
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

size_t SkipBlanks(std::string_view line, size_t pos) {
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  return pos;
}

// Reads one key at `pos` (not the line's end): a scan code, or a key's name up to the next
// blank. False with *fault set when it is neither.
bool ReadKey(std::string_view line, size_t* pos, int64_t* code, std::string* fault) {
  if (std::isalpha(static_cast<unsigned char>(line[*pos]))) {
    size_t end = *pos;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    std::string_view name = line.substr(*pos, end - *pos);
    if (!KeyByName(name, code)) {
      *fault = "unknown key name '" + std::string(name) + "'";
      return false;
    }
    *pos = end;
    return true;
  }
  if (!ReadNumber(line, pos, 255, code)) {
    *fault = "expected a scan code 0..255";
    return false;
  }
  return true;
}

}  // namespace

// "FRAME[:READING] KEY ... *KEY ...": the moment, then held keys and tapped keys (marked '*')
// in any order. A blank line leaves the step's frame at -1.
bool ReplayScript::ParseLine(std::string_view line, Step* step, std::string* fault) {
  size_t pos = SkipBlanks(line, 0);
  if (pos == line.size()) return true;
  bool read = ReadNumber(line, &pos, kMaxFrame, &step->moment.frame, ':');
  if (read && pos < line.size() && line[pos] == ':') {
    ++pos;
    read = ReadNumber(line, &pos, kMaxFrame, &step->moment.reading);
  }
  if (!read) {
    *fault = "expected a present number 0.." + std::to_string(kMaxFrame);
    return false;
  }
  for (pos = SkipBlanks(line, pos); pos < line.size(); pos = SkipBlanks(line, pos)) {
    const bool tap = line[pos] == '*';
    if (tap && (++pos == line.size() || IsBlank(line[pos]) || line[pos] == '*')) {
      *fault = "'*' must stand right before a key (*57, *Space)";
      return false;
    }
    int64_t code = 0;
    if (!ReadKey(line, &pos, &code, fault)) return false;
    (tap ? step->taps : step->keys).set(static_cast<size_t>(code));
  }
  // Taps are counted at presents' samples only, and there is none before present 1.
  if (step->taps.any() && step->moment.reading != 0) {
    *fault = "a tap (*KEY) belongs on a present's line, not on FRAME:READING";
    return false;
  }
  if (step->taps.any() && step->moment.frame == 0) {
    *fault = "a tap (*KEY) needs a present before it: FRAME 1 or more";
    return false;
  }
  return true;
}

bool ReplayScript::Parse(std::string_view text, std::string* error) {
  steps_.clear();
  size_t lineNumber = 0;
  while (!text.empty()) {
    size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    ++lineNumber;
    line = line.substr(0, std::min(line.find('#'), line.size()));

    Step step{{-1, 0}, {}, {}};
    std::string fault;
    if (ParseLine(line, &step, &fault) && step.moment.frame >= 0 && !steps_.empty() &&
        step.moment <= steps_.back().moment) {
      fault = "present numbers must ascend";
    }
    if (!fault.empty()) {
      steps_.clear();
      *error = "line " + std::to_string(lineNumber) + ": " + fault;
      return false;
    }
    if (step.moment.frame >= 0) steps_.push_back(step);  // else a blank or comment line
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

const HeldKeys& ReplayScript::TapsAt(int64_t present) const {
  static const HeldKeys kNothing;
  const KeyMoment moment(present);
  auto at = std::lower_bound(steps_.begin(), steps_.end(), moment,
                             [](const Step& step, const KeyMoment& m) { return step.moment < m; });
  return at != steps_.end() && at->moment == moment ? at->taps : kNothing;
}

std::string FormatReplayLine(KeyMoment moment, const HeldKeys& keys, const HeldKeys& taps) {
  std::string line = std::to_string(moment.frame);
  if (moment.reading != 0) line += ":" + std::to_string(moment.reading);
  for (size_t code = 0; code < keys.size(); ++code) {
    if (keys.test(code)) line += " " + std::to_string(code);
  }
  for (size_t code = 0; code < taps.size(); ++code) {
    if (taps.test(code)) line += " *" + std::to_string(code);
  }
  return line + "\n";
}

}  // namespace qrv
