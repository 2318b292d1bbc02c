#include "platform/system/SystemTime.h"

#include <cmath>
#include <ctime>

namespace {

korvyn::platform::LocalTimeSource& TimeSource() {
    static korvyn::platform::LocalTimeSource source;
    return source;
}

constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;

// Days from 1970-01-01 to the civil date (proleptic Gregorian), and back.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(int y, unsigned m) {
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

const long long kOleEpoch = DaysFromCivil(1899, 12, 30);

SYSTEMTIME SystemLocalTime() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(local.tm_year + 1900);
    st.wMonth = static_cast<WORD>(local.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    st.wDay = static_cast<WORD>(local.tm_mday);
    st.wHour = static_cast<WORD>(local.tm_hour);
    st.wMinute = static_cast<WORD>(local.tm_min);
    st.wSecond = static_cast<WORD>(local.tm_sec);
    st.wMilliseconds = static_cast<WORD>(ts.tv_nsec / 1000000);
    return st;
}

}  // namespace

void GetLocalTime(SYSTEMTIME* st) {
    if (!st)
        return;
    *st = TimeSource() ? TimeSource()() : SystemLocalTime();
}

BOOL SystemTimeToVariantTime(const SYSTEMTIME* st, double* date) {
    if (!st || !date)
        return FALSE;
    const int y = st->wYear;
    if (y < kMinYear || y > kMaxYear || st->wMonth < 1 || st->wMonth > 12 || st->wDay < 1 ||
        st->wDay > DaysInMonth(y, st->wMonth) || st->wHour > 23 || st->wMinute > 59 ||
        st->wSecond > 59)
        return FALSE;
    const long long day = DaysFromCivil(y, st->wMonth, st->wDay) - kOleEpoch;
    const double time = (st->wHour * 3600.0 + st->wMinute * 60.0 + st->wSecond) / 86400.0;
    // Before the epoch the time of day still counts forward from midnight, so it is
    // subtracted from the (negative) day number.
    *date = day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
    return TRUE;
}

BOOL VariantTimeToSystemTime(double date, SYSTEMTIME* st) {
    if (!st || !std::isfinite(date))
        return FALSE;
    static const double kLowest = static_cast<double>(DaysFromCivil(kMinYear, 1, 1) - kOleEpoch);
    static const double kHighest =
        static_cast<double>(DaysFromCivil(kMaxYear, 12, 31) - kOleEpoch) + 1.0;
    if (date <= kLowest - 1.0 || date >= kHighest)
        return FALSE;
    const double whole = std::trunc(date);
    long long day = static_cast<long long>(whole);
    long long seconds = std::llround(std::fabs(date - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        day += 1;
    }
    int y = 0;
    unsigned m = 0, d = 0;
    const long long civil = day + kOleEpoch;
    CivilFromDays(civil, y, m, d);
    if (y < kMinYear || y > kMaxYear)
        return FALSE;
    st->wYear = static_cast<WORD>(y);
    st->wMonth = static_cast<WORD>(m);
    st->wDay = static_cast<WORD>(d);
    st->wDayOfWeek = static_cast<WORD>(((civil % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    st->wHour = static_cast<WORD>(seconds / 3600);
    st->wMinute = static_cast<WORD>(seconds / 60 % 60);
    st->wSecond = static_cast<WORD>(seconds % 60);
    st->wMilliseconds = 0;
    return TRUE;
}

namespace korvyn::platform {

void SetLocalTimeSource(LocalTimeSource source) { TimeSource() = std::move(source); }

}  // namespace korvyn::platform
