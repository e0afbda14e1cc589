// The automation hooks read from the environment: a present limit, unpaced frames,
// replayed and recorded keys, and captured frames. They make every runtime program
// scriptable. A value that cannot be used stops the program with exit status 2.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "frame/runtime.h"

namespace qrv {

namespace {

// The variable's text; empty when it is unset.
std::string_view Variable(const char* name) {
  const char* text = std::getenv(name);
  return text != nullptr ? std::string_view(text) : std::string_view();
}

// A whole number 1..INT64_MAX that is the whole text, or 0.
int64_t PositiveNumber(std::string_view text) {
  int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value <= 0) return 0;
  return value;
}

bool FlagSet(std::string_view text) {
  return !text.empty() && text != "0";
}

// A path the user gave, against the folder the program was started from: the runtime
// changes to the program's own folder during start-up.
std::string FromStartFolder(std::string_view path) {
  if (path.empty()) return std::string();
  std::error_code failed;
  std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), failed);
  return failed ? std::string(path) : absolute.string();
}

// "every:K" or a comma list of present numbers; false on anything else.
bool ReadCaptureFrames(std::string_view list, AutomationHooks& hooks) {
  const std::string_view every = "every:";
  if (list.starts_with(every)) {
    hooks.captureEvery = PositiveNumber(list.substr(every.size()));
    return hooks.captureEvery > 0;
  }
  hooks.captureEvery = 0;
  for (size_t start = 0; start <= list.size();) {
    const size_t comma = std::min(list.find(',', start), list.size());
    const int64_t number = PositiveNumber(list.substr(start, comma - start));
    if (number == 0) return false;
    hooks.captureFrames.push_back(number);
    start = comma + 1;
  }
  return true;
}

// The hooks, or the first value that cannot be used in `fault`.
AutomationHooks ReadHooks() {
  AutomationHooks hooks;
  auto refuse = [&hooks](const char* variable, std::string_view value, const std::string& why) {
    hooks.faultVariable = variable;
    hooks.fault = "'" + std::string(value) + "' " + why;
    return hooks;
  };
  const std::string_view frames = Variable("QRV_FRAMES");
  hooks.frameLimit = PositiveNumber(frames);
  if (!frames.empty() && hooks.frameLimit == 0) {
    return refuse("QRV_FRAMES", frames, "is not a number of presents (1 or more)");
  }
  hooks.unpaced = FlagSet(Variable("QRV_UNPACED"));
  hooks.replayPath = FromStartFolder(Variable("QRV_REPLAY"));
  hooks.recordPath = FromStartFolder(Variable("QRV_RECORD"));
  hooks.captureFolder = FromStartFolder(Variable("QRV_CAPTURE"));
  const std::string_view captureFrames = Variable("QRV_CAPTURE_FRAMES");
  if (!captureFrames.empty() && hooks.captureFolder.empty()) {
    return refuse("QRV_CAPTURE_FRAMES", captureFrames, "is set without QRV_CAPTURE");
  }
  if (!captureFrames.empty() && !ReadCaptureFrames(captureFrames, hooks)) {
    return refuse("QRV_CAPTURE_FRAMES", captureFrames,
                  "is not a list of present numbers (3,10,250) or every:K (K 1 or more)");
  }
  if (hooks.captureFolder.empty()) return hooks;
  std::error_code failed;
  std::filesystem::create_directories(hooks.captureFolder, failed);
  if (failed)
    return refuse("QRV_CAPTURE", hooks.captureFolder, "cannot be made: " + failed.message());
  return hooks;
}

}  // namespace

[[noreturn]] void StopOnHook(const char* variable, const std::string& message) {
  const std::string line = std::string(variable) + ": " + message;
  std::fprintf(stderr, "%s\n", line.c_str());
  AppendToErrorLog(line.c_str());
  ShutdownAndExit(kExitBadHook);
}

const AutomationHooks& Automation() {
  static const AutomationHooks hooks = ReadHooks();
  return hooks;
}

void CheckAutomationHooks() {
  const AutomationHooks& hooks = Automation();
  if (!hooks.fault.empty()) StopOnHook(hooks.faultVariable, hooks.fault);
}

bool UnattendedRun() {
  return Automation().frameLimit > 0 || !Automation().replayPath.empty();
}

bool CaptureWanted(int64_t presentNumber) {
  const AutomationHooks& hooks = Automation();
  if (hooks.captureFolder.empty()) return false;
  if (hooks.captureEvery > 0) return presentNumber % hooks.captureEvery == 0;
  return std::find(hooks.captureFrames.begin(), hooks.captureFrames.end(), presentNumber) !=
         hooks.captureFrames.end();
}

void CountPresent() {
  Runtime& rt = TheRuntime();
  ++rt.presentCount;
  int64_t limit = Automation().frameLimit;
  if (limit > 0 && rt.presentCount >= limit) ErrorStop(0);
}

}  // namespace qrv
