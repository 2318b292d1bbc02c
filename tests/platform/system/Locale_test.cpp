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
    // Whole names with a territory, and the language each number means: tests/settings.
    const std::pair<const char*, const char*> cases[] = {
        {"en_CA.utf8", "1009"},    {"fr_FR@euro", "040c"},  {"de", "0407"}, {"POSIX", "0409"},
        {"xx_YY.UTF-8", "failed"}, {"de_BE.UTF-8", "0407"}, // known language, unlisted territory
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

} // namespace
