// The editing rule of the text prompt: one typed character at a time, Backspace removes
// the last one, a line feed ends the line. Number prompts refuse what cannot be part of a
// number.
#pragma once

#include <string>

namespace qrv {

enum class PromptKind { kText, kInteger, kNumber };

// Applies one character to the line; true when it ends the line.
bool ApplyPromptKey(std::string& line, char c, PromptKind kind);

}  // namespace qrv
