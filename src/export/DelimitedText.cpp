#include "export/DelimitedText.h"

#include "platform/system/TextCodec.h"

#include <algorithm>
#include <charconv>

namespace korvyn {

void DelimitedText::Separate() {
    if (rowStarted_) {
        text_ += delimiter_;
    }
    rowStarted_ = true;
}

// Characters go through as they are, so Char is char for 8-bit or UTF-8 text and char16_t
// for wide text below 0x80.
template <typename Char> void DelimitedText::AppendQualified(std::basic_string_view<Char> text) {
    const auto doubled = static_cast<std::size_t>(
        std::count(text.begin(), text.end(), static_cast<Char>(qualifier_)));
    std::size_t at = text_.size();
    text_.resize(at + text.size() + doubled + 2);
    text_[at++] = qualifier_;
    for (Char c : text) {
        text_[at++] = static_cast<char>(c);
        if (c == static_cast<Char>(qualifier_)) {
            text_[at++] = qualifier_;
        }
    }
    text_[at] = qualifier_;
}

void DelimitedText::Text(std::u16string_view text) {
    Separate();
    if (text.empty()) {
        return;
    }
    if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; })) {
        AppendQualified(text);
        return;
    }
    // A qualifier is ASCII, so it never falls inside an encoded character.
    const auto qualifier = static_cast<char16_t>(static_cast<unsigned char>(qualifier_));
    text_ += qualifier_;
    std::size_t from = 0;
    for (std::size_t q; (q = text.find(qualifier, from)) != std::u16string_view::npos;
         from = q + 1) {
        platform::AppendUtf8(text_, text.substr(from, q + 1 - from));
        text_ += qualifier_;
    }
    platform::AppendUtf8(text_, text.substr(from));
    text_ += qualifier_;
}

void DelimitedText::Text(std::string_view text8bit) {
    Separate();
    if (!text8bit.empty()) {
        AppendQualified(text8bit);
    }
}

void DelimitedText::Number(double value) {
    Separate();
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text_.append(digits, result.ptr);
}

void DelimitedText::Number(std::int32_t value) {
    Separate();
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text_.append(digits, result.ptr);
}

void DelimitedText::EndRow() {
    text_ += '\n';
    rowStarted_ = false;
}

void DelimitedText::Clear() {
    text_.clear();
    rowStarted_ = false;
}

} // namespace korvyn
