// PlatformInfo: the keyed questions a game asks about the host it runs on.
#include <string>

#include "host/host_rules.h"
#include "platform/host_services.h"
#include "quorvia/host.h"
#include "quorvia/values.h"

namespace qrv {

namespace {

// Identifies this build; fixed when the runtime is built.
constexpr const char* kHostId = "7f3a9c21";
constexpr std::string_view kGlExtPrefix = "GLEXT:";

std::string MachineId() { return host::MachineIdText(platform::MachineSerial()); }

std::string Time() {
  platform::LocalTime now = platform::CurrentLocalTime();
  return host::TimeText(now.year, now.month, now.day, now.hour, now.minute, now.second);
}

std::string Battery() {
  platform::PowerSupply supply = platform::CurrentPowerSupply();
  return host::BatteryText(supply.hasBattery, supply.percent);
}

std::string Documents() {
  std::string folder = platform::DocumentsFolder();
  return folder.empty() ? "NO_DATA" : folder;
}

// A function of the context's core version or of an extension it lists, that the
// driver hands out: the driver's lookup alone answers for any name.
bool GlFunctionProvided(const char* name) {
  platform::GlContextFacts context;
  if (!platform::CurrentGlContext(context)) return false;
  auto listed = [](std::string_view extension) {
    return platform::GlExtensionListed(std::string(extension));
  };
  return host::GlFunctionBelongs(name, context.version, context.coreProfile, listed) &&
         platform::GlEntryPoint(name);
}

std::string Answer(const RtString& key) {
  std::string upper(UpperCase(key).View());
  if (upper.empty()) return platform::HostSystemName();
  if (upper.compare(0, kGlExtPrefix.size(), kGlExtPrefix) == 0) {
    // The function name as the caller wrote it.
    RtString name = Mid(key, static_cast<int32_t>(kGlExtPrefix.size()), -1);
    return GlFunctionProvided(name.c_str()) ? "1" : "0";
  }
  if (upper == "ID") return MachineId();
  if (upper == "DEVICE") return "DESKTOP";
  if (upper == "TIME") return Time();
  if (upper == "BATTERY") return Battery();
  if (upper == "COMPILED") return __DATE__ "-" __TIME__;
  if (upper == "HOSTID") return kHostId;
  if (upper == "LOCALE") return host::LanguageCode(platform::UserLanguage());
  if (upper == "DOCUMENTS") return Documents();
  return "NO_DATA";
}

}  // namespace

RtString PlatformInfo(const RtString& key) {
  std::string answer = Answer(key);
  return RtString(answer.data(), static_cast<uint32_t>(answer.size()));
}

}  // namespace qrv
