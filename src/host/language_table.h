// Language data for the "LOCALE" answer: the code of every language identifier, and the
// language identifier of every locale name the host uses. Data only.
#pragma once

#include <cstdint>

namespace qrv::host {

struct LanguageCodeRow {
  uint32_t identifier;
  const char* code;
};

// Language identifier -> code. Identifiers missing here answer "us".
inline constexpr LanguageCodeRow kLanguageCodes[] = {
    {0x401, "AR"},  {0x801, "AR"},  {0xC01, "AR"},  {0x1001, "AR"}, {0x1401, "AR"}, {0x1801, "AR"},
    {0x1C01, "AR"}, {0x2001, "AR"}, {0x2401, "AR"}, {0x2801, "AR"}, {0x2C01, "AR"}, {0x3001, "AR"},
    {0x3401, "AR"}, {0x3801, "AR"}, {0x3C01, "AR"}, {0x4001, "AR"}, {0x402, "BG"},  {0x403, "CA"},
    {0x404, "CH"},  {0x804, "CH"},  {0x405, "CS"},  {0x406, "DA"},  {0x407, "DE"},  {0x807, "DE"},
    {0xC07, "DE"},  {0x1007, "DE"}, {0x1407, "DE"}, {0x408, "EL"},  {0x409, "UK"},  {0x422, "UK"},
    {0x40A, "ES"},  {0x80A, "ES"},  {0xC0A, "ES"},  {0x100A, "ES"}, {0x140A, "ES"}, {0x180A, "ES"},
    {0x1C0A, "ES"}, {0x200A, "ES"}, {0x240A, "ES"}, {0x280A, "ES"}, {0x2C0A, "ES"}, {0x300A, "ES"},
    {0x340A, "ES"}, {0x380A, "ES"}, {0x3C0A, "ES"}, {0x400A, "ES"}, {0x440A, "ES"}, {0x480A, "ES"},
    {0x4C0A, "ES"}, {0x500A, "ES"}, {0x40B, "FI"},  {0x40C, "FR"},  {0x80C, "FR"},  {0xC0C, "FR"},
    {0x100C, "FR"}, {0x140C, "FR"}, {0x180C, "FR"}, {0x40D, "HE"},  {0x40E, "HU"},  {0x40F, "IS"},
    {0x410, "IT"},  {0x810, "IT"},  {0x411, "JP"},  {0x412, "KO"},  {0x413, "NL"},  {0x813, "NL"},
    {0x414, "NO"},  {0x814, "NO"},  {0x415, "PL"},  {0x416, "PT"},  {0x816, "PT"},  {0x418, "RO"},
    {0x419, "RU"},  {0x41A, "HR"},  {0x41B, "SK"},  {0x41C, "SQ"},  {0x41D, "SV"},  {0x81D, "SV"},
    {0x41E, "TH"},  {0x41F, "TR"},  {0x420, "UR"},  {0x820, "UR"},  {0x421, "IN"},  {0x423, "BE"},
    {0x445, "BE"},  {0x424, "SL"},  {0x425, "ET"},  {0x426, "LV"},  {0x427, "LT"},  {0x827, "LT"},
    {0x429, "FA"},  {0x42A, "VI"},  {0x42B, "HY"},  {0x42C, "AZ"},  {0x82C, "AZ"},  {0x42D, "EU"},
    {0x42F, "MK"},  {0x436, "AF"},  {0x437, "KA"},  {0x44B, "KA"},  {0x438, "FO"},  {0x439, "HI"},
    {0x43E, "MS"},  {0x83E, "MS"},  {0x43F, "KK"},  {0x440, "KY"},  {0x441, "SW"},  {0x443, "UZ"},
    {0x843, "UZ"},  {0x444, "TT"},  {0x446, "PA"},  {0x447, "GU"},  {0x448, "OR"},  {0x449, "TA"},
    {0x44A, "TE"},  {0x44C, "MA"},  {0x44E, "MA"},  {0x44D, "AS"},  {0x44F, "SA"},  {0x450, "MO"},
    {0x456, "GL"},  {0x457, "KN"},  {0x45A, "SY"},  {0x465, "DI"},  {0x809, "EN"},  {0xC09, "EN"},
    {0x1009, "EN"}, {0x1409, "EN"}, {0x1809, "EN"}, {0x1C09, "EN"}, {0x2009, "EN"}, {0x2409, "EN"},
    {0x2809, "EN"}, {0x2C09, "EN"}, {0x3009, "EN"}, {0x3409, "EN"}, {0x81A, "SR"},  {0xC1A, "SR"},
    {0xC04, "ZH"},  {0x1004, "ZH"}, {0x1404, "ZH"},
};

struct LocaleNameRow {
  const char* name;  // language_TERRITORY, with "@modifier" where the script matters
  uint32_t identifier;
};

// Locale name -> language identifier. The first row of a language also serves that
// language in territories not listed.
inline constexpr LocaleNameRow kLocaleNames[] = {
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

}  // namespace qrv::host
