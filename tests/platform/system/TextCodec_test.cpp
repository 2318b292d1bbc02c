#include "platform/system/TextCodec.h"

#include <gtest/gtest.h>

using namespace korvyn::platform;

namespace {

std::u16string Wide(const std::string& bytes, std::size_t max = 64) {
    WCHAR out[64] = {};
    const auto n = SystemBytesToWide(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(),
                                     out, max);
    return std::u16string(out, n);
}

TEST(TextCodec, Utf8AndUtf16RoundTrip) {
    const std::u16string samples[] = {u"", u"Korvyn", u"Beállítások", u"Сканер", u"Wł. Dźwięk",
                                      u"\U0001F4F6 signal"};
    for (const auto& s : samples)
        EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(s)), s);
    EXPECT_EQ(Utf8ToUtf16("\xC3\x28"), u"\uFFFD(");
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
}

TEST(TextCodec, NetworkNameBytesAreNeverLost) {
    EXPECT_EQ(Wide("Caf\xC3\xA9"), u"Café");
    EXPECT_EQ(Wide("Caf\xE9"), u"Caf\u00E9");  // Latin-1 byte, not UTF-8
    EXPECT_EQ(Wide(std::string("ab\0cd", 5)), u"ab");
    EXPECT_EQ(Wide("abcdef", 3), u"abc");
    EXPECT_EQ(Wide("a\xF0\x9F\x93\xB6", 2), u"a");  // a pair that does not fit is left out
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Wide(all.substr(0, 40)).size(), 40u);
}

TEST(TextCodec, LowBytesAndLength) {
    EXPECT_EQ(LowBytes(u"My Documents\\Korvyn.csv"), "My Documents\\Korvyn.csv");
    EXPECT_EQ(LowBytes(u"\u0141"), "\x41");
    EXPECT_EQ(WideLength(u"abc"), 3u);
    EXPECT_EQ(WideLength(nullptr), 0u);
}

}  // namespace
