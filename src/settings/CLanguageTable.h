#pragma once
// The 43 user-interface texts in the chosen language, loaded once at start-up from the
// string resources. A text missing from the translation falls back to the English one,
// and one missing there too reads "<Not found>".
#include "platform/resources/Resources.h"

#include <array>
#include <string>

class CLanguageTable {
public:
    static constexpr int kTextCount = 43;

    explicit CLanguageTable(HMODULE module = GetModuleHandle(nullptr));

    // Fills the table for language number 0 to 12. Any other number loads English and
    // returns false.
    bool Load(int language);
    // Text 0 to 42; any other number gives the "<Not found>" slot. Empty before Load.
    const std::u16string& Text(int number) const;
    // The language number the table was loaded for.
    int Language() const { return language_; }

private:
    HMODULE module_;
    int language_ = 0;
    std::array<std::u16string, kTextCount + 1> texts_; // the last is "<Not found>"
};
