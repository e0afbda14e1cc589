// Message boxes and the runtime's 8-bit texts handed to the host as UTF-8.
#include <SDL.h>

#include "platform/window_host.h"

namespace qrv::platform {

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not well formed.
static size_t Utf8SequenceLength(const unsigned char* text, size_t i) {
  unsigned char lead = text[i];
  size_t length = lead < 0x80           ? 1
                  : (lead >> 5) == 0x6  ? 2
                  : (lead >> 4) == 0xE  ? 3
                  : (lead >> 3) == 0x1E ? 4
                                        : 0;
  for (size_t k = 1; k < length; ++k) {
    if ((text[i + k] & 0xC0) != 0x80) return 0;
  }
  return length;
}

std::string HostText(const char* text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  bool utf8 = true;
  for (size_t i = 0; bytes[i] != 0 && utf8;) {
    size_t length = Utf8SequenceLength(bytes, i);
    utf8 = length > 0;
    i += length;
  }
  if (utf8) return text;
  std::string converted;
  for (size_t i = 0; bytes[i] != 0; ++i) {
    if (bytes[i] < 0x80) {
      converted += static_cast<char>(bytes[i]);
    } else {
      converted += static_cast<char>(0xC0 | (bytes[i] >> 6));
      converted += static_cast<char>(0x80 | (bytes[i] & 0x3F));
    }
  }
  return converted;
}

bool ShowWarningBox(const char* title, const char* text, std::string& why) {
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, HostText(title).c_str(),
                               HostText(text).c_str(), nullptr) == 0) {
    return true;
  }
  why = SDL_GetError();
  return false;
}

}  // namespace qrv::platform
