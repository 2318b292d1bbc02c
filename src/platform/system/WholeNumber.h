#pragma once
// A number that is the whole text: no blanks, no '+', nothing after it, and within the
// range of T (a '-' only for signed T).
#include <charconv>
#include <string_view>

namespace korvyn::platform {

template <typename T> bool ParseWholeNumber(std::string_view text, T& value, int base = 10) {
    if (text.empty() || text[0] == '+') {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return ec == std::errc() && end == text.data() + text.size();
}

} // namespace korvyn::platform
