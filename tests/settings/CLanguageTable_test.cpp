#include "settings/CLanguageTable.h"

#include "resource.h"
#include "settings/Languages.h"
#include "support/ResBuilder.h"

#include <gtest/gtest.h>

using korvyn::platform::LoadResourceModule;
using korvyn::platform::UniqueResourceModule;

namespace {

const std::u16string kNotFound = u"<Not found>";

// A sample of each language's texts, with the translators' own spellings kept as they
// are (the Russian "Kрупно" starts with a Latin K).
TEST(CLanguageTable, EveryLanguageHasItsOwnTextsAsTranslated) {
    for (int language = 0; language < korvyn::kLanguageCount; ++language) {
        const UINT base = korvyn::LanguageByNumber(language).stringBase;
        for (int i = 0; i < CLanguageTable::kTextCount; ++i) {
            WCHAR buffer[64];
            EXPECT_GT(LoadString(nullptr, base + i, buffer, 64), 0) << language << "/" << i;
        }
    }
    struct Check {
        int language;
        int number;
        std::u16string text;
    };
    const Check checks[] = {
        {1, 4, u"Resume"},       {4, 22, u"ZOOM"},          {5, 41, u"legjobb"},
        {6, 9, u"Wł. Dźwięk"},   {7, 12, u"Corp policies"}, {8, 7, u"Montrer sécur."},
        {9, 18, u"Rapidíssimo"}, {10, 4, u"Продожить"},     {10, 22, u"Kрупно"},
        {11, 37, u"Kanäle"},     {12, 35, u"WEP Protetta"},
    };
    for (const auto& c : checks) {
        CLanguageTable table;
        ASSERT_TRUE(table.Load(c.language));
        EXPECT_EQ(table.Language(), c.language);
        EXPECT_EQ(table.Text(c.number), c.text) << c.language << "/" << c.number;
    }
}

TEST(CLanguageTable, MissingTextsFallBackToEnglishThenToNotFound) {
    std::map<unsigned, std::u16string> strings;
    for (int i = 0; i < CLanguageTable::kTextCount; ++i) {
        if (i != 3)
            strings[IDS_ENGLISH_BASE + i] = u"en" + std::u16string(1, u'A' + i % 26);
        if (i > 5)
            strings[IDS_HUNGARIAN_BASE + i] = u"hu" + std::u16string(1, u'A' + i % 26);
    }
    strings[IDS_HUNGARIAN_BASE + 7] = u""; // empty counts as missing
    UniqueResourceModule module(
        LoadResourceModule(korvyn::test::ResBuilder().AddStrings(strings).Bytes()));
    ASSERT_TRUE(module);

    CLanguageTable table(module.get());
    EXPECT_EQ(table.Text(0), u"") << "nothing before loading";
    ASSERT_TRUE(table.Load(5));
    EXPECT_EQ(table.Text(0), u"enA");
    EXPECT_EQ(table.Text(3), kNotFound); // missing in both
    EXPECT_EQ(table.Text(7), u"enH");
    EXPECT_EQ(table.Text(6), u"huG");
    EXPECT_EQ(table.Text(CLanguageTable::kTextCount), kNotFound);
    EXPECT_EQ(table.Text(-1), kNotFound);
}

TEST(CLanguageTable, UnknownLanguagesLoadEnglish) {
    CLanguageTable table;
    EXPECT_FALSE(table.Load(13));
    EXPECT_EQ(table.Language(), 0);
    EXPECT_EQ(table.Text(0), u"Scan");
    EXPECT_FALSE(table.Load(-1));
    EXPECT_EQ(table.Text(36), u"Open");
}

TEST(Languages, TableMatchesTheResources) {
    std::vector<korvyn::platform::MenuItem> menu;
    ASSERT_TRUE(korvyn::platform::LoadMenuResource(nullptr, IDR_LANGUAGE_MENU, menu));
    ASSERT_EQ(menu.size(), 1u);
    for (const auto& item : menu[0].children) {
        const auto* language = korvyn::LanguageByMenuId(item.id);
        ASSERT_TRUE(language) << item.id;
        EXPECT_EQ(item.text, language->menuText);
        korvyn::platform::Bitmap flag;
        EXPECT_TRUE(korvyn::platform::LoadBitmapResource(nullptr, language->flagBitmap, flag));
    }
    EXPECT_EQ(menu[0].children.size(), static_cast<std::size_t>(korvyn::kLanguageCount));
    for (int number = 0; number < korvyn::kLanguageCount; ++number)
        EXPECT_EQ(korvyn::LanguageByNumber(number).number, number);
    EXPECT_EQ(korvyn::LanguageByNumber(13).number, 0);
}

} // namespace
