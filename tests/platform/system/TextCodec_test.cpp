#include "platform/system/TextCodec.h"

#include <gtest/gtest.h>

using namespace korvyn::platform;

namespace {

std::u16string Wide(const std::string& bytes, std::size_t max = 64) {
    WCHAR out[64] = {};
    const auto n =
        SystemBytesToWide(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), out, max);
    return std::u16string(out, n);
}

TEST(TextCodec, Utf8AndUtf16RoundTrip) {
    const std::u16string samples[] = {u"",       u"Korvyn",     u"Beállítások",
                                      u"Сканер", u"Wł. Dźwięk", u"\U0001F4F6 signal"};
    for (const auto& s : samples)
        EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(s)), s);
    EXPECT_EQ(Utf8ToUtf16("\xC3\x28"), u"\uFFFD(");
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
}

// How each byte of a network name reads is checked through the whole program with every
// byte value (tests/app/check_names.py); here where a name ends: at a zero byte, or where
// the caller's room ends.
TEST(TextCodec, WhereNetworkNamesEnd) {
    EXPECT_EQ(Wide(std::string("ab\0cd", 5)), u"ab");
    EXPECT_EQ(Wide("abcdef", 3), u"abc");
    EXPECT_EQ(Wide("a\xF0\x9F\x93\xB6", 2), u"a"); // a pair that does not fit is left out
}

TEST(TextCodec, LowBytesAndLength) {
    EXPECT_EQ(LowBytes(u"Korvyn.csv\u0141"), "Korvyn.csvA");
    EXPECT_EQ(WideLength(nullptr), 0u);
}

} // namespace
