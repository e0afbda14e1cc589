// Whole files for the qrv commands. Every failure names its real cause: the system's own
// error text ("No such file or directory", "Is a directory", "Permission denied", ...).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qrv::tool {

// Reads the whole file; a file longer than limit bytes is refused unread. On failure why
// holds the reason, without the path.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& why,
                   size_t limit = static_cast<size_t>(-1));

// Reads the file's first count bytes (fewer when it is shorter).
bool ReadFileStart(const std::string& path, std::string& bytes, size_t count, std::string& why);

// Replaces the file with bytes; on failure why holds the reason, without the path.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& why);

// Why the file cannot be read, or empty when its first byte can.
std::string ReadProblem(const std::string& path);

// Why the file cannot be written, or empty when it can (a missing file is not created).
std::string WriteProblem(const std::string& path);

}  // namespace qrv::tool
