// The rules by which a POSIX desktop answers the host questions, over plain values: the
// machine id file, the locale variables and the user-dirs file. posix/host_facts.cpp feeds
// them what the system holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qrv::platform::posix {

// The machine's 32-bit serial: the four 32-bit words of a machine id (32 hex digits)
// combined by XOR; kFallbackSerial when the text is no machine id.
inline constexpr uint32_t kFallbackSerial = 16390125;
uint32_t MachineSerial(std::string_view machineId);

// The language identifier of a locale value ("de_AT.UTF-8", "sr_RS@latin", "C", ...).
// "C", "POSIX" and the empty value are American English; 0 for a value naming no
// language known here.
uint32_t LanguageIdentifier(std::string_view localeValue);

// The documents folder named by the text of a user-dirs file (lines such as
// XDG_DOCUMENTS_DIR="$HOME/Documents"), with "$HOME" standing for home. Empty when the
// text names none.
std::string DocumentsFolder(std::string_view userDirs, std::string_view home);

}  // namespace qrv::platform::posix
