// The host subsystem's rules as plain functions over plain values: what the platform
// information keys answer and which GL functions a context has. The commands feed them
// what the host reports.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qrv::host {

// "YYYY-MM-DD HH:MM:SS", every field but the year zero-padded to two digits.
std::string TimeText(int year, int month, int day, int hour, int minute, int second);

// The charge in percent as decimal text, capped at 100 (an unknown charge gives "100");
// "NO_DATA" without a battery.
std::string BatteryText(bool hasBattery, int percent);

// The "ID" answer: the machine's serial XOR the runtime's constant, its 4 bytes in memory
// order as 8 upper-case hex digits.
std::string MachineIdText(uint32_t serial);

// The "LOCALE" answer for a language identifier: its code from the table, lower case,
// "eng" and "english-uk" as "uk", "po" as "pl"; "us" for anything not two letters.
std::string LanguageCode(uint32_t identifier);

// Whether a GL function (the name in its exact letter case) belongs to a context: to the
// core of the context's version (major * 10 + minor; a core-profile context lacks what
// that profile removed), or to an extension the context lists. The functions, versions
// and extensions are the Khronos registry's.
using ExtensionListed = std::function<bool(std::string_view extension)>;
bool GlFunctionBelongs(std::string_view name, int version, bool coreProfile,
                       const ExtensionListed& listed);

}  // namespace qrv::host
