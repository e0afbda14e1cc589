// The process environment and the console streams as game commands.
#include "platform/host_services.h"
#include "quorvia/host.h"

namespace qrv {

RtString GetEnvironment(const RtString& name) {
  RtString result;
  if (name.Empty()) {
    for (const std::string& entry : platform::EnvironmentEntries()) {
      result.AppendBytes(entry.data(), static_cast<uint32_t>(entry.size()));
      result += "\n";
    }
    return result;
  }
  std::string value;
  if (platform::EnvironmentValue(name.c_str(), value)) {
    result = RtString(value.data(), static_cast<uint32_t>(value.size()));
  }
  return result;
}

void SetEnvironment(const RtString& name, const RtString& value) {
  // "A=B" with value "C" would otherwise set A to "B=C".
  if (name.Empty() || TextLength(name) != static_cast<int32_t>(name.Length()) ||
      name.View().find('=') != std::string_view::npos) {
    return;
  }
  if (TextLength(value) == 0) {
    platform::RemoveEnvironmentValue(name.c_str());
  } else {
    platform::SetEnvironmentValue(name.c_str(), value.c_str());
  }
}

void ConsoleWrite(const RtString& text) {
  platform::WriteStandardOutput(text.c_str(), static_cast<size_t>(TextLength(text)));
}

void ConsoleWriteError(const RtString& text) {
  platform::WriteStandardError(text.c_str(), static_cast<size_t>(TextLength(text)));
}

RtString ConsoleReadLine() {
  char line[4096];
  if (!platform::ReadStandardInputLine(line, sizeof line)) return RtString();
  RtString result(line);
  if (result.Length() > 0 && result[result.Length() - 1] == '\n')
    result.SetLength(result.Length() - 1);
  return result;
}

}  // namespace qrv
