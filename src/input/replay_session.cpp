// QRV_REPLAY and QRV_RECORD: a script stands in for the keyboard, or the live key table
// is written down at every reading that changes it, in the same format.
#include <cstdlib>
#include <fstream>
#include <string>

#include "input/input_state.h"
#include "quorvia/frame.h"

namespace qrv {

namespace {

// A script the user named but that cannot be used stops the run: running on the live
// keyboard instead would make a test or a bug report prove something else.
[[noreturn]] void StopOnScript(const std::string& message) {
  std::string line = "QRV_REPLAY: " + message;
  std::fprintf(stderr, "%s\n", line.c_str());
  AppendToErrorLog(line.c_str());
  ErrorStop(3);
}

constexpr size_t kMaxScriptBytes = 16 << 20;

void StartReplay(InputState& input, const char* path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) StopOnScript(std::string("cannot read ") + path);
  // Read with a limit: a script is small, and a name such as /dev/zero has no end.
  std::string text(kMaxScriptBytes + 1, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(file.gcount()));
  if (text.size() > kMaxScriptBytes) StopOnScript(std::string(path) + ": larger than 16 MiB");
  auto script = std::make_unique<ReplayScript>();
  std::string error;
  if (!script->Parse(text, &error)) StopOnScript(std::string(path) + ": " + error);
  input.replay = std::move(script);
  ApplyReplay(input);
}

}  // namespace

void StartReplayAndRecord(InputState& input) {
  const char* replayPath = std::getenv("QRV_REPLAY");
  if (replayPath != nullptr && replayPath[0] != 0) StartReplay(input, replayPath);
  const char* recordPath = std::getenv("QRV_RECORD");
  if (recordPath == nullptr || recordPath[0] == 0) return;
  input.record = std::fopen(recordPath, "w");
  if (input.record == nullptr) {
    std::string line = std::string("QRV_RECORD: cannot write ") + recordPath;
    std::fprintf(stderr, "%s\n", line.c_str());
    AppendToErrorLog(line.c_str());
    return;
  }
  std::fputs("# key table by present number: FRAME CODE CODE ...\n", input.record);
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

// Writes a line only when the table changed, so a long session stays a short file.
void RecordKeys(InputState& input) {
  HeldKeys held;
  for (size_t code = 0; code < 256; ++code) held.set(code, (input.keys[code] & 0x80) != 0);
  if (held == input.recordedKeys) return;
  input.recordedKeys = held;
  std::fputs(FormatReplayLine({input.presentNumber, input.keyReading}, held).c_str(), input.record);
  std::fflush(input.record);
}

}  // namespace qrv
