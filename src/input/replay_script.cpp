// The replay script parser and the line writer. Parsing is strict: a script that says
// something other than what its author meant must stop the run, not drive it wrongly.
#include "input/replay_script.h"

#include <algorithm>

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
