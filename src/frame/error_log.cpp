// The error log: "ErrorLog.txt" in the user's temporary folder, deleted at start-up and
// then appended to one CR LF line at a time.
#include "platform/platform.h"
#include "quorvia/frame.h"

namespace qrv {

RtString ErrorLogPath() { return RtString((platform::TempFolder() + "ErrorLog.txt").c_str()); }

void AppendToErrorLog(const char* text) {
  if (text == nullptr) text = "";
  platform::EchoLogLine(text);
  std::string path = ErrorLogPath().c_str();
  // The file is used without sharing: another writer may hold it for a moment.
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (platform::AppendLineNoFollow(path, text)) return;
    platform::SleepMilliseconds(10);
  }
}

}  // namespace qrv
