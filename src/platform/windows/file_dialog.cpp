// The system's file dialogs: GetOpenFileName / GetSaveFileName, the filter as the dialog
// wants it (description and patterns, each ended by a zero).
#include <windows.h>
// After windows.h.
#include <commdlg.h>

#include "platform/window_host.h"
#include "platform/windows/wide_text.h"

namespace qrv::platform {

std::string FileDialog(bool open, const std::vector<std::pair<std::string, std::string>>& filter,
                       const std::string& folder) {
  std::wstring filters;
  for (const auto& [description, patterns] : filter) {
    filters += windows::Wide(description) + L'\0' + windows::Wide(patterns) + L'\0';
  }
  filters += L'\0';
  std::wstring start = windows::Wide(folder);
  for (wchar_t& c : start) {
    if (c == L'/') c = L'\\';
  }
  std::wstring chosen(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter.empty() ? nullptr : filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = chosen.data();
  dialog.nMaxFile = static_cast<DWORD>(chosen.size());
  dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
  dialog.Flags = OFN_NOCHANGEDIR | OFN_EXPLORER |
                 (open ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : OFN_OVERWRITEPROMPT);
  BOOL ok = open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
  return ok ? windows::Narrow(chosen.c_str()) : std::string();
}

}  // namespace qrv::platform
