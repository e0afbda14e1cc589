// The process-wide error state: last error code, error line, source position and the
// text form of the code.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame/runtime.h"

namespace qrv {

Runtime& TheRuntime() {
  static Runtime runtime;
  return runtime;
}

static const char* ErrorCodeText(int32_t code);

// QRV_VERBOSE is read once: the report must not depend on when the first error happens.
static bool VerboseErrors() {
  static const bool fromEnvironment = [] {
    const char* text = std::getenv("QRV_VERBOSE");
    return text != nullptr && *text != 0 && std::string_view(text) != "0";
  }();
  return fromEnvironment || TheRuntime().settings.debugFlag != 0;
}

// "command: file: reason", each part only when known.
static void ReportError(int32_t code, const ErrorContext& context) {
  std::string line;
  for (std::string_view part : {context.command, context.file}) {
    if (!part.empty()) line.append(part).append(": ");
  }
  if (!context.reason.empty()) {
    line.append(context.reason);
  } else {
    line.append("error ").append(std::to_string(code)).append(" ").append(ErrorCodeText(code));
  }
  std::fprintf(stderr, "%s\n", line.c_str());
}

double RecordError(double code) { return RecordError(code, ErrorContext{}); }

double RecordError(double code, const ErrorContext& context) {
  Runtime& rt = TheRuntime();
  double truncated = std::trunc(code);
  // Codes beyond the int32 range (or NaN) cannot be stored: they count as unknown errors.
  rt.lastError = (truncated >= INT32_MIN && truncated <= INT32_MAX) ? static_cast<int32_t>(truncated)
                                                                    : -1;
  rt.errorLine = rt.sourceLine;
  if (rt.lastError != 0 && VerboseErrors()) ReportError(rt.lastError, context);
  return code;
}

void ReportFailure(const ErrorContext& context) {
  if (VerboseErrors()) ReportError(0, context);
}

void ClearError() { TheRuntime().lastError = 0; }

int32_t LastError() { return TheRuntime().lastError; }

int32_t ErrorLine() { return TheRuntime().errorLine; }

void SetSourcePosition(int32_t module, int32_t line) {
  TheRuntime().sourceModule = module;
  TheRuntime().sourceLine = line;
}

static const char* ErrorCodeText(int32_t code) {
  switch (code) {
    case 0: return "success";
    case 3: return "no such file";
    case 7: return "out of memory";
    case 9: return "out of bounds";
    case 20: return "out of data";
    default: return "unknown error";
  }
}

RtString ErrorText() {
  char text[64];
  std::snprintf(text, sizeof text, "%.4d %s", LastError(), ErrorCodeText(LastError()));
  return RtString(text);
}

[[noreturn]] void ErrorStop(int32_t code) {
  RecordError(code);
  End();
}

}  // namespace qrv
