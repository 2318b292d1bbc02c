#pragma once
// The user's locale as the handheld platform reports it: a language identifier of four
// lower-case hex digits, derived on Linux from LC_ALL, LC_MESSAGES and LANG.
#include "platform/WinTypes.h"

#include <optional>
#include <string_view>

constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCTYPE LOCALE_ILANGUAGE = 0x0001;

// Writes the requested item with its terminator into data (cchData units) and returns the
// number of units written, terminator included; 0 on failure (unknown language, buffer
// too small, unsupported item). With cchData 0 it returns the size needed.
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int cchData);

namespace korvyn::platform {

// The language identifier for a POSIX locale name such as "de_AT.UTF-8" or "pt_BR";
// "C", "POSIX" and "" give 0x0409. A known language with an unknown territory gives the
// language's default; an unknown language gives nothing.
std::optional<WORD> LanguageIdForLocaleName(std::string_view name);

// The first non-empty of LC_ALL, LC_MESSAGES and LANG.
std::string_view UserLocaleName();

}  // namespace korvyn::platform
