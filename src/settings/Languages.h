#pragma once
// The thirteen language numbers of the "Language" setting and what belongs to each: the
// name used when asking to switch, the language menu item, the string block of its
// translation and its flag. English and French variants share their translation.
#include "platform/WinTypes.h"

#include <array>

namespace korvyn {

struct LanguageInfo {
    int number;
    const char16_t* name;     // in "Are you sure you want to change program language to ...?"
    UINT menuId;              // command of its item in the language menu
    const char16_t* menuText; // text of that item
    UINT stringBase;          // text n of the translation is string stringBase + n
    UINT flagBitmap;
};

inline constexpr int kLanguageCount = 13;
extern const std::array<LanguageInfo, kLanguageCount> kLanguages;

// The entry of a language number; numbers outside 0 to 12 give English (0).
const LanguageInfo& LanguageByNumber(int number);
// The entry whose menu command this is, or nullptr.
const LanguageInfo* LanguageByMenuId(UINT menuId);

} // namespace korvyn
