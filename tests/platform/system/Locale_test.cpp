#include "platform/system/Locale.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>

using korvyn::test::ScopedEnv;

namespace {

std::string Ask() {
    WCHAR buffer[5] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ILANGUAGE, buffer, 5) != 5)
        return "failed";
    return std::string(buffer, buffer + 4);
}

TEST(Locale, LanguageIdentifierFromLocaleName) {
    const std::pair<const char*, const char*> cases[] = {
        {"de_AT.UTF-8", "0c07"}, {"en_GB", "0809"},       {"fr_CA", "0c0c"}, {"ja_JP", "0411"},
        {"en_CA.utf8", "1009"},  {"fr_FR@euro", "040c"},  {"de", "0407"},    {"POSIX", "0409"},
        {"C.UTF-8", "0409"},     {"de_BE.UTF-8", "0407"}, // known language, unlisted territory
    };
    for (const auto& [name, expected] : cases) {
        ScopedEnv all("LC_ALL", name);
        EXPECT_EQ(Ask(), expected) << name;
    }
}

TEST(Locale, VariablesAreConsultedInOrder) {
    ScopedEnv all("LC_ALL", "");
    ScopedEnv messages("LC_MESSAGES", "hu_HU.UTF-8");
    ScopedEnv lang("LANG", "de_DE.UTF-8");
    EXPECT_EQ(Ask(), "040e");
    {
        ScopedEnv noMessages("LC_MESSAGES", nullptr);
        EXPECT_EQ(Ask(), "0407");
        ScopedEnv noLang("LANG", nullptr);
        EXPECT_EQ(Ask(), "0409"); // nothing set at all
    }
    ScopedEnv allSet("LC_ALL", "it_IT.UTF-8");
    EXPECT_EQ(Ask(), "0410");
}

TEST(Locale, UnknownLanguageAndSmallBuffersFail) {
    ScopedEnv all("LC_ALL", "xx_YY.UTF-8");
    EXPECT_EQ(Ask(), "failed");

    ScopedEnv known("LC_ALL", "ru_RU");
    WCHAR small[4] = {'z', 'z', 'z', 'z'};
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ILANGUAGE, small, 4), 0);
    EXPECT_EQ(small[0], u'z');
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ILANGUAGE, nullptr, 0), 5);
    WCHAR buffer[5];
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, 0x1234, buffer, 5), 0);
}

} // namespace
