#pragma once
// Local time and OLE Automation dates (days since 30 December 1899, the fraction of the
// day as the time of day), with the handheld platform's conversion rules.
#include "platform/WinTypes.h"

#include <functional>

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// Current local time as calendar fields with milliseconds.
void GetLocalTime(SYSTEMTIME* st);

// Calendar fields to an OLE date. Like the platform, milliseconds are ignored; fields out
// of range (year outside 100-9999, an impossible day, hour 24, ...) fail.
BOOL SystemTimeToVariantTime(const SYSTEMTIME* st, double* date);

// OLE date to calendar fields, rounded to the nearest second (milliseconds are 0).
// Dates before 1899 have a negative integer part and a positive fraction: -1.25 is
// 29 December 1899 06:00. NaN, infinities and dates outside years 100-9999 fail.
BOOL VariantTimeToSystemTime(double date, SYSTEMTIME* st);

namespace korvyn::platform {

// The clock seam: tests install a function that returns the "current" local time.
using LocalTimeSource = std::function<SYSTEMTIME()>;
void SetLocalTimeSource(LocalTimeSource source);  // empty restores the system clock

}  // namespace korvyn::platform
