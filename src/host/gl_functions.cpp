// Whether a GL function belongs to a context, by the table generated from the Khronos
// registry at build time: its core versions per profile and the extensions that bring it.
#include <algorithm>
#include <iterator>

#include "host/gl_function_table.h"
#include "host/host_rules.h"

namespace qrv::host {

namespace {

// The bit of the newest registry version the context's version reaches; none below 1.0.
uint32_t VersionBit(int version) {
  uint32_t bit = 0;
  for (size_t i = 0; i < std::size(kGlVersions); ++i) {
    if (kGlVersions[i] <= version) bit = uint32_t{1} << i;
  }
  return bit;
}

bool AnyExtensionListed(std::string_view extensions, const ExtensionListed& listed) {
  while (!extensions.empty()) {
    size_t blank = extensions.find(' ');
    if (listed(extensions.substr(0, blank))) return true;
    if (blank == std::string_view::npos) break;
    extensions.remove_prefix(blank + 1);
  }
  return false;
}

}  // namespace

bool GlFunctionBelongs(std::string_view name, int version, bool coreProfile,
                       const ExtensionListed& listed) {
  const GlFunctionOrigin* end = std::end(kGlFunctions);
  const GlFunctionOrigin* found = std::lower_bound(
      std::begin(kGlFunctions), end, name, [](const GlFunctionOrigin& entry, std::string_view key) {
        return std::string_view(entry.name) < key;
      });
  if (found == end || found->name != name) return false;
  uint32_t versions = coreProfile ? found->core : found->compatibility;
  return (versions & VersionBit(version)) != 0 || AnyExtensionListed(found->extensions, listed);
}

}  // namespace qrv::host
