#include "platform/system/Locale.h"

#include <cstdlib>
#include <string>

namespace {

struct LocaleEntry {
    const char* name;  // "ll" for the language default, "ll_TT" for a territory
    WORD id;
};

// Language identifiers of the common locales: the languages Korvyn is translated into
// with their territories, and the other widespread ones.
constexpr LocaleEntry kLocales[] = {
    {"en", 0x0409},    {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0c09},
    {"en_CA", 0x1009}, {"en_NZ", 0x1409}, {"en_IE", 0x1809}, {"en_ZA", 0x1c09},
    {"en_JM", 0x2009}, {"en_BZ", 0x2809}, {"en_TT", 0x2c09}, {"en_ZW", 0x3009},
    {"en_PH", 0x3409}, {"en_IN", 0x4009}, {"en_MY", 0x4409}, {"en_SG", 0x4809},
    {"hu", 0x040e},    {"hu_HU", 0x040e}, {"pl", 0x0415},    {"pl_PL", 0x0415},
    {"fr", 0x040c},    {"fr_FR", 0x040c}, {"fr_BE", 0x080c}, {"fr_CA", 0x0c0c},
    {"fr_CH", 0x100c}, {"fr_LU", 0x140c}, {"fr_MC", 0x180c}, {"pt", 0x0416},
    {"pt_BR", 0x0416}, {"pt_PT", 0x0816}, {"ru", 0x0419},    {"ru_RU", 0x0419},
    {"ru_MD", 0x0819}, {"de", 0x0407},    {"de_DE", 0x0407}, {"de_CH", 0x0807},
    {"de_AT", 0x0c07}, {"de_LU", 0x1007}, {"de_LI", 0x1407}, {"it", 0x0410},
    {"it_IT", 0x0410}, {"it_CH", 0x0810}, {"es", 0x0c0a},    {"es_ES", 0x0c0a},
    {"es_MX", 0x080a}, {"es_AR", 0x2c0a}, {"es_CO", 0x240a}, {"es_CL", 0x340a},
    {"es_US", 0x540a}, {"ja", 0x0411},    {"ja_JP", 0x0411}, {"zh", 0x0804},
    {"zh_CN", 0x0804}, {"zh_TW", 0x0404}, {"zh_HK", 0x0c04}, {"zh_SG", 0x1004},
    {"ko", 0x0412},    {"ko_KR", 0x0412}, {"nl", 0x0413},    {"nl_NL", 0x0413},
    {"nl_BE", 0x0813}, {"sv", 0x041d},    {"sv_SE", 0x041d}, {"sv_FI", 0x081d},
    {"fi", 0x040b},    {"fi_FI", 0x040b}, {"da", 0x0406},    {"da_DK", 0x0406},
    {"nb", 0x0414},    {"nb_NO", 0x0414}, {"no", 0x0414},    {"no_NO", 0x0414},
    {"nn", 0x0814},    {"nn_NO", 0x0814}, {"cs", 0x0405},    {"cs_CZ", 0x0405},
    {"sk", 0x041b},    {"sk_SK", 0x041b}, {"sl", 0x0424},    {"sl_SI", 0x0424},
    {"hr", 0x041a},    {"hr_HR", 0x041a}, {"sr", 0x241a},    {"sr_RS", 0x241a},
    {"ro", 0x0418},    {"ro_RO", 0x0418}, {"bg", 0x0402},    {"bg_BG", 0x0402},
    {"el", 0x0408},    {"el_GR", 0x0408}, {"tr", 0x041f},    {"tr_TR", 0x041f},
    {"uk", 0x0422},    {"uk_UA", 0x0422}, {"be", 0x0423},    {"be_BY", 0x0423},
    {"he", 0x040d},    {"he_IL", 0x040d}, {"ar", 0x0401},    {"ar_SA", 0x0401},
    {"ar_EG", 0x0c01}, {"th", 0x041e},    {"th_TH", 0x041e}, {"vi", 0x042a},
    {"vi_VN", 0x042a}, {"id", 0x0421},    {"id_ID", 0x0421}, {"ms", 0x043e},
    {"ms_MY", 0x043e}, {"hi", 0x0439},    {"hi_IN", 0x0439}, {"et", 0x0425},
    {"et_EE", 0x0425}, {"lv", 0x0426},    {"lv_LV", 0x0426}, {"lt", 0x0427},
    {"lt_LT", 0x0427}, {"ca", 0x0403},    {"ca_ES", 0x0403}, {"eu", 0x042d},
    {"eu_ES", 0x042d}, {"gl", 0x0456},    {"gl_ES", 0x0456}, {"is", 0x040f},
    {"is_IS", 0x040f}, {"ga", 0x083c},    {"ga_IE", 0x083c}, {"fa", 0x0429},
    {"fa_IR", 0x0429}, {"af", 0x0436},    {"af_ZA", 0x0436}, {"sq", 0x041c},
    {"sq_AL", 0x041c}, {"mk", 0x042f},    {"mk_MK", 0x042f}, {"ka", 0x0437},
    {"ka_GE", 0x0437}, {"kk", 0x043f},    {"kk_KZ", 0x043f},
};

std::optional<WORD> Lookup(std::string_view key) {
    for (const auto& e : kLocales)
        if (key == e.name)
            return e.id;
    return std::nullopt;
}

}  // namespace

namespace korvyn::platform {

std::optional<WORD> LanguageIdForLocaleName(std::string_view name) {
    // Strip ".codeset" and "@modifier".
    const auto cut = name.find_first_of(".@");
    if (cut != std::string_view::npos)
        name = name.substr(0, cut);
    if (name.empty() || name == "C" || name == "POSIX")
        return 0x0409;
    const auto sep = name.find_first_of("_-");
    const std::string_view language = name.substr(0, sep);
    if (sep != std::string_view::npos) {
        std::string key(language);
        key += '_';
        key += name.substr(sep + 1);
        if (auto id = Lookup(key))
            return id;
    }
    return Lookup(language);
}

std::string_view UserLocaleName() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value)
            return value;
    }
    return {};
}

}  // namespace korvyn::platform

int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int cchData) {
    if (locale != LOCALE_USER_DEFAULT || type != LOCALE_ILANGUAGE || cchData < 0)
        return 0;
    const auto id = korvyn::platform::LanguageIdForLocaleName(korvyn::platform::UserLocaleName());
    if (!id)
        return 0;
    constexpr int kNeeded = 5;  // four hex digits and the terminator
    if (cchData == 0)
        return kNeeded;
    if (cchData < kNeeded || !data)
        return 0;
    static const char kHex[] = "0123456789abcdef";
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<WCHAR>(kHex[(*id >> (12 - 4 * i)) & 0xF]);
    data[4] = 0;
    return kNeeded;
}
