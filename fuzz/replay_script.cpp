// Fuzz target for the replay script parser: any bytes either parse or are refused with a
// message, and a parsed script written back line by line (FRAME or FRAME:READING, with the
// taps of present lines) parses to the same key tables and taps.
#include "input/replay_script.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  qrv::ReplayScript script;
  std::string error;
  if (!script.Parse(text, &error)) {
    if (error.empty() || !script.Empty()) std::abort();
    return 0;
  }
  // Write the script back from its own answers at every line's present number.
  qrv::ReplayScript again;
  std::string written;
  std::vector<qrv::KeyMoment> moments;
  std::string_view rest = text;
  while (!rest.empty()) {
    size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    line = line.substr(0, std::min(line.find('#'), line.size()));
    size_t digit = line.find_first_of("0123456789");
    if (digit == std::string_view::npos) continue;
    const std::string moment(line.substr(digit));
    char* after = nullptr;
    qrv::KeyMoment at(std::strtoll(moment.c_str(), &after, 10));
    if (*after == ':') at.reading = std::strtoll(after + 1, nullptr, 10);
    const qrv::HeldKeys taps = at.reading == 0 ? script.TapsAt(at.frame) : qrv::HeldKeys();
    written += qrv::FormatReplayLine(at, script.KeysAt(at), taps);
    moments.push_back(at);
  }
  if (!again.Parse(written, &error) || again.StepCount() != script.StepCount()) std::abort();
  for (qrv::KeyMoment probe : {qrv::KeyMoment(0), qrv::KeyMoment(1), qrv::KeyMoment(1, 7),
                               qrv::KeyMoment(40), qrv::KeyMoment(int64_t{1} << 31)}) {
    moments.push_back(probe);
  }
  for (qrv::KeyMoment probe : moments) {
    if (again.KeysAt(probe) != script.KeysAt(probe)) std::abort();
    if (again.TapsAt(probe.frame) != script.TapsAt(probe.frame)) std::abort();
  }
  return 0;
}
