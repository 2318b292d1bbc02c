#include "platform/resources/Resources.h"

#include "support/ResBuilder.h"

#include <gtest/gtest.h>
#include <string>

using namespace korvyn::platform;
using namespace korvyn::test;

namespace {

std::vector<BYTE> Sample() {
    return ResBuilder()
        .Add(std::uint16_t{2}, std::uint16_t{150}, {1, 2, 3, 4, 5})
        .Add(std::u16string(u"WAVE"), std::uint16_t{157}, {9, 8, 7})
        .AddStrings({{2000, u"Scan"}, {2001, u""}, {2015, u"Last of the block"}, {2016, u"Next"}})
        .Bytes();
}

// Resources as the program asks for them: numbers in a numbered or a named type.
// (Names and numbers written as text are never asked for; the program's own module is
// read by every window: tests/app.)
TEST(ResourceModule, FindsResourcesByNumberInNumberedAndNamedTypes) {
    UniqueResourceModule module(LoadResourceModule(Sample()));
    ASSERT_TRUE(module);
    HMODULE m = module.get();
    HRSRC bitmap = FindResource(m, MAKEINTRESOURCE(150), RT_BITMAP);
    ASSERT_TRUE(bitmap);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(m, bitmap)));
    EXPECT_EQ(std::vector<BYTE>(data, data + SizeofResource(m, bitmap)),
              (std::vector<BYTE>{1, 2, 3, 4, 5}));
    HRSRC wave = FindResource(m, MAKEINTRESOURCE(157), u"WAVE");
    ASSERT_TRUE(wave);
    EXPECT_EQ(SizeofResource(m, wave), 3u);
    EXPECT_FALSE(FindResource(m, MAKEINTRESOURCE(150), RT_MENU));
    EXPECT_FALSE(FindResource(m, MAKEINTRESOURCE(157), u"WAV"));

    // Foreign handles are refused, not followed.
    int unrelated = 0;
    EXPECT_FALSE(LoadResource(m, reinterpret_cast<HRSRC>(&unrelated)));
    EXPECT_EQ(SizeofResource(m, reinterpret_cast<HRSRC>(&unrelated)), 0u);
}

// Strings are read as the program reads them, as a pointer into the resource, from blocks
// of sixteen. Empty, absent from a present block, and in a missing block: 0.
TEST(ResourceModule, LoadStringReadsBlocksOfSixteen) {
    UniqueResourceModule module(LoadResourceModule(Sample()));
    ASSERT_TRUE(module);
    const std::pair<UINT, std::u16string> cases[] = {{2000, u"Scan"}, {2015, u"Last of the block"},
                                                     {2016, u"Next"}, {2001, u""},
                                                     {2002, u""},     {3000, u""}};
    for (const auto& [id, text] : cases) {
        LPCWSTR start = nullptr;
        const int length = LoadString(module.get(), id, reinterpret_cast<LPWSTR>(&start), 0);
        EXPECT_EQ(std::u16string(start, start + length), text) << id;
    }
}

// Damaged data in every field: fuzz/ResFile_fuzz.cpp.
TEST(ResourceModule, CutFilesKeepOnlyWholeEntries) {
    const auto good = Sample();
    EXPECT_FALSE(LoadResourceModule({}));

    // Every truncation either fails or keeps only whole entries; none reads past the end.
    for (std::size_t n = 0; n < good.size(); ++n) {
        UniqueResourceModule cut(
            LoadResourceModule(std::vector<BYTE>(good.begin(), good.begin() + n)));
        if (cut) {
            EXPECT_FALSE(FindResource(cut.get(), MAKEINTRESOURCE(127), RT_STRING))
                << n; // the last entry
        }
    }
}

} // namespace
