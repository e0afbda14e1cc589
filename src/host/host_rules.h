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

// The machine's 32-bit serial: the four 32-bit words of a machine id (32 hex digits)
// combined by XOR; kFallbackSerial when the text is no machine id.
inline constexpr uint32_t kFallbackSerial = 16390125;
uint32_t MachineSerial(std::string_view machineId);
// The "ID" answer: the serial XOR the runtime's constant, its 4 bytes in memory order as
// 8 upper-case hex digits.
std::string MachineIdText(uint32_t serial);

// The language identifier of a locale value ("de_AT.UTF-8", "sr_RS@latin", "C", ...).
// "C", "POSIX" and the empty value are American English; 0 for a value naming no
// language known here.
uint32_t LanguageIdentifier(std::string_view localeValue);
// The "LOCALE" answer for a language identifier: its code from the table, lower case,
// "eng" and "english-uk" as "uk", "po" as "pl"; "us" for anything not two letters.
std::string LanguageCode(uint32_t identifier);

// The documents folder named by the text of a user-dirs file (lines such as
// XDG_DOCUMENTS_DIR="$HOME/Documents"), with "$HOME" standing for home. Empty when the
// text names none.
std::string DocumentsFolder(std::string_view userDirs, std::string_view home);

// Whether a GL function (the name in its exact letter case) belongs to a context: to the
// core of the context's version (major * 10 + minor; a core-profile context lacks what
// that profile removed), or to an extension the context lists. The functions, versions
// and extensions are the Khronos registry's.
using ExtensionListed = std::function<bool(std::string_view extension)>;
bool GlFunctionBelongs(std::string_view name, int version, bool coreProfile,
                       const ExtensionListed& listed);

}  // namespace qrv::host
