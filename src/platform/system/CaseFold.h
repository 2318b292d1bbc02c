#pragma once
// Case-insensitive comparison of UTF-16 names (resource names, registry keys and values),
// folding the Latin and Cyrillic letters the program's names can hold.
#include <string>
#include <string_view>

namespace korvyn::platform {

char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);
bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b);

} // namespace korvyn::platform
