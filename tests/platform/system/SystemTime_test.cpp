#include "platform/system/SystemTime.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace {

SYSTEMTIME Make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    auto w = [](int v) { return static_cast<WORD>(v); };
    return SYSTEMTIME{w(y), w(mo), 0, w(d), w(h), w(mi), w(s), w(ms)};
}

// Everything but the day of the week.
auto Fields(const SYSTEMTIME& t) {
    return std::tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

TEST(OleDate, KnownValuesBothWays) {
    struct Case {
        SYSTEMTIME st;
        double date;
    } cases[] = {
        {Make(2008, 4, 20, 4, 20, 27), 39558.0 + 15627.0 / 86400.0},
        {Make(1900, 1, 1), 2.0},
        {Make(2000, 2, 29), 36585.0},
    };
    for (const auto& c : cases) {
        double date = 99;
        ASSERT_TRUE(SystemTimeToVariantTime(&c.st, &date)) << c.date;
        EXPECT_DOUBLE_EQ(date, c.date);
        SYSTEMTIME back{};
        ASSERT_TRUE(VariantTimeToSystemTime(c.date, &back));
        EXPECT_EQ(Fields(back), Fields(c.st));
    }
    SYSTEMTIME st{};
    ASSERT_TRUE(VariantTimeToSystemTime(39558.180868, &st));
    EXPECT_EQ(st.wDayOfWeek, 0); // a Sunday
}

TEST(OleDate, MillisecondsIgnoredAndSecondsRounded) {
    double a = 0, b = 0;
    const SYSTEMTIME withMs = Make(2026, 12, 6, 10, 0, 0, 999);
    const SYSTEMTIME without = Make(2026, 12, 6, 10, 0, 0, 0);
    ASSERT_TRUE(SystemTimeToVariantTime(&withMs, &a));
    ASSERT_TRUE(SystemTimeToVariantTime(&without, &b));
    EXPECT_EQ(a, b);

    SYSTEMTIME st{};
    ASSERT_TRUE(VariantTimeToSystemTime(b + 0.6 / 86400.0, &st));
    EXPECT_EQ(Fields(st), Fields(Make(2026, 12, 6, 10, 0, 1)));
    // Half a second before midnight rounds into the next day. (Dates before 1899 are
    // never shown: every date is the clock's.)
    ASSERT_TRUE(VariantTimeToSystemTime(2.0 - 0.4 / 86400.0, &st));
    EXPECT_EQ(Fields(st), Fields(Make(1900, 1, 1)));
}

// Dates come from the clock: only the other way can meet a number out of range.
TEST(OleDate, NumbersOutOfRangeFail) {
    SYSTEMTIME st = Make(2000, 1, 1);
    const SYSTEMTIME before = st;
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), 2958466.0, 1e300, -657435.0}) {
        EXPECT_FALSE(VariantTimeToSystemTime(bad, &st)) << bad;
    }
    EXPECT_EQ(st.wYear, before.wYear);
    EXPECT_TRUE(VariantTimeToSystemTime(2958465.5, &st));         // 31 December 9999, noon
    EXPECT_FALSE(VariantTimeToSystemTime(2958465.99999999, &st)); // rounds into year 10000
}

} // namespace
