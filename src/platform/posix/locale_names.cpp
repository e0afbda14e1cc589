// The user's language on a POSIX host: a locale value of the environment ("de_AT.UTF-8",
// "sr_RS@latin", "C", ...) becomes a language identifier by the locale name table.
#include <algorithm>
#include <cctype>
#include <string>

#include "platform/posix/desktop_rules.h"

namespace qrv::platform::posix {

namespace {

struct LocaleNameRow {
  const char* name;  // language_TERRITORY, with "@modifier" where the script matters
  uint32_t identifier;
};

// Locale name -> language identifier. The first row of a language also serves that
// language in territories not listed.
constexpr LocaleNameRow kLocaleNames[] = {
    {"ar_SA", 0x401},  {"ar_IQ", 0x801},          {"ar_EG", 0xC01},  {"ar_LY", 0x1001},
    {"ar_DZ", 0x1401}, {"ar_MA", 0x1801},         {"ar_TN", 0x1C01}, {"ar_OM", 0x2001},
    {"ar_YE", 0x2401}, {"ar_SY", 0x2801},         {"ar_JO", 0x2C01}, {"ar_LB", 0x3001},
    {"ar_KW", 0x3401}, {"ar_AE", 0x3801},         {"ar_BH", 0x3C01}, {"ar_QA", 0x4001},
    {"bg_BG", 0x402},  {"ca_ES", 0x403},          {"zh_TW", 0x404},  {"zh_CN", 0x804},
    {"zh_HK", 0xC04},  {"zh_SG", 0x1004},         {"zh_MO", 0x1404}, {"cs_CZ", 0x405},
    {"da_DK", 0x406},  {"de_DE", 0x407},          {"de_CH", 0x807},  {"de_AT", 0xC07},
    {"de_LU", 0x1007}, {"de_LI", 0x1407},         {"el_GR", 0x408},  {"en_US", 0x409},
    {"en_GB", 0x809},  {"en_AU", 0xC09},          {"en_CA", 0x1009}, {"en_NZ", 0x1409},
    {"en_IE", 0x1809}, {"en_ZA", 0x1C09},         {"en_JM", 0x2009}, {"en_BZ", 0x2809},
    {"en_TT", 0x2C09}, {"en_ZW", 0x3009},         {"en_PH", 0x3409}, {"es_ES", 0xC0A},
    {"es_MX", 0x80A},  {"es_GT", 0x100A},         {"es_CR", 0x140A}, {"es_PA", 0x180A},
    {"es_DO", 0x1C0A}, {"es_VE", 0x200A},         {"es_CO", 0x240A}, {"es_PE", 0x280A},
    {"es_AR", 0x2C0A}, {"es_EC", 0x300A},         {"es_CL", 0x340A}, {"es_UY", 0x380A},
    {"es_PY", 0x3C0A}, {"es_BO", 0x400A},         {"es_SV", 0x440A}, {"es_HN", 0x480A},
    {"es_NI", 0x4C0A}, {"es_PR", 0x500A},         {"fi_FI", 0x40B},  {"fr_FR", 0x40C},
    {"fr_BE", 0x80C},  {"fr_CA", 0xC0C},          {"fr_CH", 0x100C}, {"fr_LU", 0x140C},
    {"fr_MC", 0x180C}, {"he_IL", 0x40D},          {"hu_HU", 0x40E},  {"is_IS", 0x40F},
    {"it_IT", 0x410},  {"it_CH", 0x810},          {"ja_JP", 0x411},  {"ko_KR", 0x412},
    {"nl_NL", 0x413},  {"nl_BE", 0x813},          {"nb_NO", 0x414},  {"no_NO", 0x414},
    {"nn_NO", 0x814},  {"pl_PL", 0x415},          {"pt_BR", 0x416},  {"pt_PT", 0x816},
    {"ro_RO", 0x418},  {"ru_RU", 0x419},          {"hr_HR", 0x41A},  {"sr_RS@latin", 0x81A},
    {"sr_RS", 0xC1A},  {"sr_ME", 0x81A},          {"sk_SK", 0x41B},  {"sq_AL", 0x41C},
    {"sv_SE", 0x41D},  {"sv_FI", 0x81D},          {"th_TH", 0x41E},  {"tr_TR", 0x41F},
    {"ur_PK", 0x420},  {"ur_IN", 0x820},          {"id_ID", 0x421},  {"uk_UA", 0x422},
    {"be_BY", 0x423},  {"sl_SI", 0x424},          {"et_EE", 0x425},  {"lv_LV", 0x426},
    {"lt_LT", 0x427},  {"fa_IR", 0x429},          {"vi_VN", 0x42A},  {"hy_AM", 0x42B},
    {"az_AZ", 0x42C},  {"eu_ES", 0x42D},          {"mk_MK", 0x42F},  {"af_ZA", 0x436},
    {"ka_GE", 0x437},  {"fo_FO", 0x438},          {"hi_IN", 0x439},  {"ms_MY", 0x43E},
    {"ms_BN", 0x83E},  {"kk_KZ", 0x43F},          {"ky_KG", 0x440},  {"sw_KE", 0x441},
    {"uz_UZ", 0x443},  {"uz_UZ@cyrillic", 0x843}, {"tt_RU", 0x444},  {"bn_IN", 0x445},
    {"pa_IN", 0x446},  {"gu_IN", 0x447},          {"or_IN", 0x448},  {"ta_IN", 0x449},
    {"te_IN", 0x44A},  {"kn_IN", 0x44B},          {"ml_IN", 0x44C},  {"as_IN", 0x44D},
    {"mr_IN", 0x44E},  {"sa_IN", 0x44F},          {"mn_MN", 0x450},  {"gl_ES", 0x456},
    {"kok_IN", 0x457}, {"syr_SY", 0x45A},         {"dv_MV", 0x465},
};

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

}  // namespace qrv::platform::posix
