// The automation hooks read from the environment: a present limit, unpaced frames and
// replayed keys. They make every runtime program scriptable.
#include <cerrno>
#include <cstdlib>

#include "frame/runtime.h"

namespace qrv {

// A positive whole number, or 0 when the text is anything else.
static int64_t PositiveNumber(const char* text) {
  if (text == nullptr || *text == 0) return 0;
  char* end = nullptr;
  errno = 0;
  long long value = std::strtoll(text, &end, 10);
  if (errno != 0 || *end != 0 || value <= 0) return 0;
  return value;
}

static bool FlagSet(const char* text) {
  return text != nullptr && *text != 0 && !(text[0] == '0' && text[1] == 0);
}

const AutomationHooks& Automation() {
  static const AutomationHooks hooks = [] {
    AutomationHooks h;
    h.frameLimit = PositiveNumber(std::getenv("QRV_FRAMES"));
    h.unpaced = FlagSet(std::getenv("QRV_UNPACED"));
    h.replaying = FlagSet(std::getenv("QRV_REPLAY"));
    return h;
  }();
  return hooks;
}

bool UnattendedRun() {
  return Automation().frameLimit > 0 || Automation().replaying;
}

void CountPresent() {
  Runtime& rt = TheRuntime();
  ++rt.presentCount;
  int64_t limit = Automation().frameLimit;
  if (limit > 0 && rt.presentCount >= limit) ErrorStop(0);
}

}  // namespace qrv
