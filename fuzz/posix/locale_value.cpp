// Fuzz target: an arbitrary locale value turned into a language identifier and code.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/host_rules.h"
#include "platform/posix/desktop_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view value(reinterpret_cast<const char*>(data), size);
  qrv::host::LanguageCode(qrv::platform::posix::LanguageIdentifier(value));
  return 0;
}
