// The "LOCALE" answer: the host's language identifier becomes a two-letter code by the
// language table and its rules.
#include <algorithm>
#include <cctype>
#include <iterator>

#include "host/host_rules.h"
#include "host/language_table.h"

namespace qrv::host {

std::string LanguageCode(uint32_t identifier) {
  auto row =
      std::find_if(std::begin(kLanguageCodes), std::end(kLanguageCodes),
                   [identifier](const LanguageCodeRow& r) { return r.identifier == identifier; });
  std::string code = row != std::end(kLanguageCodes) ? row->code : "us";
  std::transform(code.begin(), code.end(), code.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  if (code == "eng" || code == "english-uk") code = "uk";
  if (code == "po") code = "pl";
  if (code.size() != 2) code = "us";
  return code;
}

}  // namespace qrv::host
