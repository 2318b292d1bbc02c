#include "core/CsvReader.h"

namespace korvyn {

bool CsvReader::Next(std::vector<std::string>& fields, bool& wellFormed) {
    fields.clear();
    wellFormed = true;
    if (at_ >= text_.size())
        return false;
    std::string field;
    bool quoted = false;     // inside a quoted field
    bool afterQuote = false; // a quoted field has just closed
    while (at_ < text_.size()) {
        const char c = text_[at_++];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (at_ < text_.size() && text_[at_] == '"')
                field += text_[at_++];
            else {
                quoted = false;
                afterQuote = true;
            }
            continue;
        }
        if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
            afterQuote = false;
        } else if (c == '\n' || (c == '\r' && at_ < text_.size() && text_[at_] == '\n')) {
            at_ += c == '\r';
            fields.push_back(std::move(field));
            return true;
        } else if (c == '"' && field.empty() && !afterQuote) {
            quoted = true;
        } else {
            // Text after a closing quote, or a quote inside an unquoted field.
            if (afterQuote || c == '"')
                wellFormed = false;
            field += c;
        }
    }
    if (quoted)
        wellFormed = false;
    fields.push_back(std::move(field));
    return true;
}

} // namespace korvyn
