// UTF-8 <-> UTF-16 for the Windows calls, and the system's error texts.
#include "platform/windows/wide_text.h"

#include <windows.h>

namespace qrv::platform::windows {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int size = static_cast<int>(text.size());
  int count = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  if (count <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), count);
  return wide;
}

std::string Narrow(const wchar_t* text, int count) {
  if (text == nullptr || count == 0) return std::string();
  int size = WideCharToMultiByte(CP_UTF8, 0, text, count, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, count, narrow.data(), size, nullptr, nullptr);
  if (count < 0 && !narrow.empty() && narrow.back() == '\0') narrow.pop_back();
  return narrow;
}

std::string SystemMessage(unsigned long error) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length > 0 ? Narrow(buffer, static_cast<int>(length)) : std::string();
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

std::string FailureText(unsigned long error) {
  std::string text = SystemMessage(error);
  return text.empty() ? "error " + std::to_string(error) : text;
}

}  // namespace qrv::platform::windows
