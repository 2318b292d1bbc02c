#include "settings/CLanguageTable.h"

#include "resource.h"
#include "settings/Languages.h"
#include "support/ResBuilder.h"

#include <gtest/gtest.h>

using korvyn::platform::LoadResourceModule;
using korvyn::platform::UniqueResourceModule;

namespace {

const std::u16string kNotFound = u"<Not found>";

// Every text from the language's own block, and a sample of each language, with the
// translators' own spellings kept as they are (the Russian "Kрупно" starts with a Latin K).
TEST(CLanguageTable, EveryLanguageHasAllItsOwnTextsAsTranslated) {
    for (int language = 0; language < korvyn::kLanguageCount; ++language) {
        CLanguageTable table;
        ASSERT_TRUE(table.Load(language));
        EXPECT_EQ(table.Language(), language);
        const UINT base = korvyn::LanguageByNumber(language).stringBase;
        for (int i = 0; i < CLanguageTable::kTextCount; ++i) {
            WCHAR buffer[64];
            ASSERT_GT(LoadString(nullptr, base + i, buffer, 64), 0) << language << "/" << i;
            EXPECT_EQ(table.Text(i), buffer) << language << "/" << i;
        }
        EXPECT_EQ(table.Text(CLanguageTable::kTextCount), kNotFound);
    }
    struct Check {
        int language;
        int number;
        std::u16string text;
    };
    const Check checks[] = {
        {0, 37, u"Channels"},      {1, 4, u"Resume"},
        {2, 0, u"Scan"},           {3, 36, u"Open"},
        {4, 22, u"ZOOM"},          {5, 0, u"Kereső"},
        {5, 41, u"legjobb"},       {6, 9, u"Wł. Dźwięk"},
        {7, 12, u"Corp policies"}, {7, 36, u"-"},
        {8, 7, u"Montrer sécur."}, {8, 0, u"Scruter"},
        {9, 18, u"Rapidíssimo"},   {10, 4, u"Продожить"},
        {10, 22, u"Kрупно"},       {10, 38, u"2,4 ГГц"},
        {11, 22, u"Vergrößern"},   {11, 37, u"Kanäle"},
        {12, 35, u"WEP Protetta"},
    };
    for (const auto& c : checks) {
        CLanguageTable table;
        ASSERT_TRUE(table.Load(c.language));
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
    for (int i = 0; i <= CLanguageTable::kTextCount; ++i)
        EXPECT_EQ(table.Text(i), u"") << i; // nothing before loading
    ASSERT_TRUE(table.Load(5));
    EXPECT_EQ(table.Text(0), u"enA");
    EXPECT_EQ(table.Text(3), kNotFound); // missing in both
    EXPECT_EQ(table.Text(7), u"enH");
    EXPECT_EQ(table.Text(6), u"huG");
    EXPECT_EQ(table.Text(36), u"huK");
    EXPECT_EQ(table.Text(CLanguageTable::kTextCount), kNotFound);
    EXPECT_EQ(table.Text(1000), kNotFound);
    EXPECT_EQ(table.Text(-1), kNotFound);
}

TEST(CLanguageTable, UnknownLanguagesAndEmptyModules) {
    CLanguageTable table;
    EXPECT_FALSE(table.Load(13));
    EXPECT_EQ(table.Language(), 0);
    EXPECT_EQ(table.Text(0), u"Scan");
    EXPECT_FALSE(table.Load(-1));
    EXPECT_EQ(table.Text(36), u"Open");

    UniqueResourceModule empty(LoadResourceModule(korvyn::test::ResBuilder().Bytes()));
    ASSERT_TRUE(empty);
    CLanguageTable bare(empty.get());
    EXPECT_TRUE(bare.Load(10));
    for (int i = 0; i < CLanguageTable::kTextCount; ++i)
        EXPECT_EQ(bare.Text(i), kNotFound) << i;
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
