// The "LOCALE" answer: a locale value of the environment becomes a language identifier,
// and the identifier becomes a two-letter code by the language table and its rules.
#include <algorithm>
#include <cctype>
#include <iterator>

#include "host/host_rules.h"
#include "host/language_table.h"

namespace qrv::host {

namespace {

constexpr uint32_t kAmericanEnglish = 0x409;

bool AllLower(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool AllAlphanumeric(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
  });
}

uint32_t FindLocaleName(std::string_view name) {
  for (const LocaleNameRow& row : kLocaleNames) {
    if (name == row.name) return row.identifier;
  }
  return 0;
}

// The first row of the language: its identifier for territories not listed.
uint32_t FindLanguage(std::string_view language) {
  for (const LocaleNameRow& row : kLocaleNames) {
    std::string_view name = row.name;
    if (name.substr(0, name.find('_')) == language) return row.identifier;
  }
  return 0;
}

}  // namespace

uint32_t LanguageIdentifier(std::string_view value) {
  // language[_TERRITORY][.codeset][@modifier]
  size_t at = value.find('@');
  std::string_view modifier = at == std::string_view::npos ? std::string_view() : value.substr(at);
  std::string_view name = value.substr(0, std::min(value.find('.'), at));
  if (name.empty() || name == "C" || name == "POSIX") return kAmericanEnglish;
  size_t underscore = name.find('_');
  std::string_view language = name.substr(0, underscore);
  std::string_view territory =
      underscore == std::string_view::npos ? std::string_view() : name.substr(underscore + 1);
  if (language.size() < 2 || language.size() > 3 || !AllLower(language)) return 0;
  if (underscore != std::string_view::npos && !AllAlphanumeric(territory)) return 0;
  if (modifier.size() > 1 && modifier.size() <= 16) {
    std::string withModifier = std::string(name) + std::string(modifier);
    if (uint32_t identifier = FindLocaleName(withModifier)) return identifier;
  }
  if (uint32_t identifier = FindLocaleName(name)) return identifier;
  return FindLanguage(language);
}

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
