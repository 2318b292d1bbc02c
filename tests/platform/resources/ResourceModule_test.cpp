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
        .Add(std::uint16_t{10}, std::u16string(u"CONFIG"), {42})
        .AddStrings({{2000, u"Scan"}, {2001, u""}, {2015, u"Last of the block"}, {2016, u"Next"}})
        .Bytes();
}

std::string Bytes(HMODULE module, HRSRC found) {
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(data, SizeofResource(module, found));
}

TEST(ResourceModule, FindsResourcesByNumberNameAndNumberText) {
    UniqueResourceModule module(LoadResourceModule(Sample()));
    ASSERT_TRUE(module);
    HMODULE m = module.get();

    HRSRC bitmap = FindResource(m, MAKEINTRESOURCE(150), RT_BITMAP);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(Bytes(m, bitmap), std::string("\1\2\3\4\5"));
    EXPECT_EQ(FindResource(m, u"#150", RT_BITMAP), bitmap);
    EXPECT_EQ(FindResource(m, MAKEINTRESOURCE(150), u"#2"), bitmap);

    // Custom types and names are compared ignoring case.
    HRSRC wave = FindResource(m, MAKEINTRESOURCE(157), u"wave");
    ASSERT_TRUE(wave);
    EXPECT_EQ(SizeofResource(m, wave), 3u);
    HRSRC config = FindResource(m, u"Config", RT_RCDATA);
    ASSERT_TRUE(config);
    EXPECT_EQ(Bytes(m, config), "*");

    EXPECT_FALSE(FindResource(m, MAKEINTRESOURCE(150), RT_MENU));
    EXPECT_FALSE(FindResource(m, u"157", u"WAVE")); // a name, not a number
    EXPECT_FALSE(FindResource(m, MAKEINTRESOURCE(157), u"WAV"));
    EXPECT_FALSE(FindResource(m, nullptr, RT_BITMAP));

    // Foreign handles are refused, not followed.
    int unrelated = 0;
    EXPECT_FALSE(LoadResource(m, reinterpret_cast<HRSRC>(&unrelated)));
    EXPECT_EQ(SizeofResource(m, reinterpret_cast<HRSRC>(&unrelated)), 0u);
}

TEST(ResourceModule, LoadStringReadsBlocksOfSixteen) {
    UniqueResourceModule module(LoadResourceModule(Sample()));
    ASSERT_TRUE(module);
    HMODULE m = module.get();
    // Empty, absent from a present block, and in a missing block: 0. Longer than the
    // buffer: cut to it, always terminated.
    const std::tuple<UINT, int, int, std::u16string> cases[] = {
        {2000, 64, 4, u"Scan"}, {2015, 64, 17, u"Last of the block"},
        {2016, 64, 4, u"Next"}, {2001, 64, 0, u"?"},
        {2002, 64, 0, u"?"},    {3000, 64, 0, u"?"},
        {2015, 5, 4, u"Last"},  {2015, 1, 0, u""}};
    for (const auto& [id, size, length, text] : cases) {
        WCHAR buffer[64] = {u'?'};
        EXPECT_EQ(LoadString(m, id, buffer, size), length) << id;
        EXPECT_EQ(std::u16string(buffer), text) << id;
    }
    // A zero-sized buffer receives a pointer to the string itself.
    LPCWSTR text = nullptr;
    ASSERT_EQ(LoadString(m, 2016, reinterpret_cast<LPWSTR>(&text), 0), 4);
    EXPECT_EQ(std::u16string(text, 4), u"Next");
}

// The program's own module is read by every window (tests/app).
TEST(ResourceModule, MalformedFilesAreRefused) {
    const auto good = Sample();
    EXPECT_FALSE(LoadResourceModule({}));

    auto patch = [&](std::size_t offset, std::uint32_t value) {
        auto bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<BYTE>(value >> (8 * i));
        return bytes;
    };
    EXPECT_FALSE(LoadResourceModule(patch(0, 4)));        // marker with data
    EXPECT_FALSE(LoadResourceModule(patch(32, 0x10000))); // data past the end
    EXPECT_FALSE(LoadResourceModule(patch(36, 0x10000))); // header past the end
    EXPECT_FALSE(LoadResourceModule(patch(36, 12)));      // header too short for its fields

    // A name whose terminator lies outside the header.
    std::vector<BYTE> unterminated = ResBuilder().Bytes();
    PutDword(unterminated, 0);
    PutDword(unterminated, 16);
    for (int i = 0; i < 4; ++i)
        PutWord(unterminated, u'A');
    EXPECT_FALSE(LoadResourceModule(unterminated));

    // Every truncation either fails or keeps only whole entries; none reads past the end.
    for (std::size_t n = 0; n < good.size(); ++n) {
        UniqueResourceModule cut(
            LoadResourceModule(std::vector<BYTE>(good.begin(), good.begin() + n)));
        if (cut) {
            EXPECT_FALSE(FindResource(cut.get(), u"#127", RT_STRING)) << n; // the last entry
        }
    }
}

} // namespace
