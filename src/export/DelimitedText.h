#pragma once
// Delimited text built in one buffer: fields are appended where they end up in the file,
// so a whole sheet or list is one string, written to its file at once. Texts stand
// between qualifiers with every qualifier inside them written twice; wide texts are
// written in UTF-8; an empty text is an empty field without qualifiers.
#include <cstdint>
#include <string>
#include <string_view>

namespace korvyn {

class DelimitedText {
public:
    DelimitedText(char delimiter, char qualifier) : delimiter_(delimiter), qualifier_(qualifier) {}

    void Reserve(std::size_t bytes) { text_.reserve(bytes); }

    void Text(std::u16string_view text);
    void Text(std::string_view text8bit);
    void Number(double value);
    void Number(std::int32_t value);
    void Empty() { Separate(); }
    // Ends the row with a line feed.
    void EndRow();

    const std::string& Bytes() const { return text_; }
    void Clear();

private:
    void Separate();
    template <typename Char> void AppendQualified(std::basic_string_view<Char> text);

    char delimiter_;
    char qualifier_;
    bool rowStarted_ = false;
    std::string text_;
};

} // namespace korvyn
