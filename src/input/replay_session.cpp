// QRV_REPLAY and QRV_RECORD: a script stands in for the keyboard, or the live key table
// is written down at every reading that changes it, in the same format.
#include <cstdio>
#include <fstream>
#include <string>

#include "frame/runtime.h"
#include "input/input_state.h"

namespace qrv {

namespace {

constexpr size_t kMaxScriptBytes = 16 << 20;

// A script the user named but that cannot be used stops the run: running on the live
// keyboard instead would make a test or a bug report prove something else.
void StartReplay(InputState& input, const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) StopOnHook("QRV_REPLAY", "cannot read " + path);
  // Read with a limit: a script is small, and a name such as /dev/zero has no end.
  std::string text(kMaxScriptBytes + 1, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(file.gcount()));
  if (text.size() > kMaxScriptBytes) StopOnHook("QRV_REPLAY", path + ": larger than 16 MiB");
  auto script = std::make_unique<ReplayScript>();
  std::string error;
  if (!script->Parse(text, &error)) StopOnHook("QRV_REPLAY", path + ": " + error);
  input.replay = std::move(script);
  ApplyReplay(input);
}

}  // namespace

void StartReplayAndRecord(InputState& input) {
  const AutomationHooks& hooks = Automation();
  if (!hooks.replayPath.empty()) StartReplay(input, hooks.replayPath);
  if (hooks.recordPath.empty()) return;
  // Binary: a recording has the same bytes on every host.
  input.record = std::fopen(hooks.recordPath.c_str(), "wb");
  if (input.record == nullptr) StopOnHook("QRV_RECORD", "cannot write " + hooks.recordPath);
  std::fputs("# key table by present number: FRAME CODE CODE ... (*CODE: tapped)\n", input.record);
}

void StopRecording(InputState& input) {
  if (input.record == nullptr) return;
  std::fclose(input.record);
  input.record = nullptr;
}

void ApplyReplay(InputState& input) {
  const HeldKeys& held = input.replay->KeysAt({input.presentNumber, input.keyReading});
  for (size_t code = 0; code < 256; ++code) input.keys[code] = held.test(code) ? 0x80 : 0;
}

// Writes a line only when the table changed or keys were tapped, so a long session stays a
// short file.
void RecordKeys(InputState& input, const HeldKeys& taps) {
  HeldKeys held = HeldIn(input.keys);
  if (held == input.recordedKeys && taps.none()) return;
  input.recordedKeys = held;
  const KeyMoment moment{input.presentNumber, input.keyReading};
  std::fputs(FormatReplayLine(moment, held, taps).c_str(), input.record);
  std::fflush(input.record);
}

}  // namespace qrv
