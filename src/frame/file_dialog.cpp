// The file dialog command: the host's open or save dialog over a hidden game window.
#include <algorithm>
#include <string>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "platform/platform.h"
#include "platform/window_host.h"

namespace qrv {

// "Images|*.png;*.bmp|All|*.*" as (description, patterns) pairs; at most 1023 bytes count.
static std::vector<std::pair<std::string, std::string>> FilterPairs(const RtString& filter) {
  std::string text(filter.c_str(), std::min<uint32_t>(filter.Length(), 1023));
  text.resize(std::string(text.c_str()).size());
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
    parts.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  parts.push_back(text.substr(start));
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (!parts[i + 1].empty()) pairs.emplace_back(parts[i], parts[i + 1]);
  }
  return pairs;
}

RtString FileDialog(int32_t open, const RtString& filter) {
  Runtime& rt = TheRuntime();
  std::string folder = platform::CurrentDirectory();
  if (rt.device != nullptr) rt.device->HideWindow();
  // Nobody answers a dialog in an unattended run: it counts as cancelled.
  std::string path = UnattendedRun() ? std::string()
                                     : platform::FileDialog(open != 0, FilterPairs(filter), folder);
  platform::ChangeDirectory(folder);
  if (rt.device != nullptr) {
    if (rt.settings.fullscreen != 0) {
      SetScreen(rt.settings.screenWidth, rt.settings.screenHeight, rt.settings.fullscreen);
    } else {
      rt.device->ShowWindowed();
    }
  }
  if (path.empty()) return "NO_FILE";
  std::replace(path.begin(), path.end(), '\\', '/');
  return RtString(path.c_str(), static_cast<uint32_t>(path.size()));
}

}  // namespace qrv
