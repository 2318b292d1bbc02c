#include "export/XlsWorksheet.h"

#include "platform/system/TextCodec.h"

#include <algorithm>
#include <charconv>
#include <ostream>
#include <string>

namespace {

// Appends text between qualifiers, each qualifier inside it written twice. Characters go
// through as they are, so Char is char for UTF-8 text or char16_t for ASCII-only wide text.
template <typename Char>
void AppendQualified(std::string& line, std::basic_string_view<Char> text, char qualifier) {
    const auto doubled = static_cast<std::size_t>(std::count(text.begin(), text.end(), qualifier));
    std::size_t at = line.size();
    line.resize(at + text.size() + doubled + 2);
    line[at++] = qualifier;
    for (Char c : text) {
        line[at++] = static_cast<char>(c);
        if (c == static_cast<Char>(qualifier))
            line[at++] = qualifier;
    }
    line[at] = qualifier;
}

void AppendQualifiedWide(std::string& line, std::u16string_view text, char qualifier) {
    if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; }))
        AppendQualified(line, text, qualifier);
    else
        AppendQualified<char>(line, korvyn::platform::Utf16ToUtf8(text), qualifier);
}

template <typename Number> void AppendNumber(std::string& line, Number value) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    line.append(digits, result.ptr);
}

} // namespace

XlsCell* XlsWorksheet::CellAt(int row, int column) {
    if (row < 0 || row > kMaxRow || column < 0 || column > kMaxColumn)
        return nullptr;
    if (column >= columns_) {
        columns_ = column + 1;
        for (auto& cells : rows_)
            cells.resize(columns_);
    }
    if (row >= RowCount())
        rows_.resize(row + 1, std::vector<XlsCell>(columns_));
    return &rows_[row][column];
}

const XlsCell* XlsWorksheet::Cell(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= columns_)
        return nullptr;
    return &rows_[row][column];
}

bool XlsWorksheet::WriteDelimited(std::ostream& out, char delimiter, char qualifier) const {
    std::string line;
    for (auto row = rows_.begin(); row != rows_.end() && out; ++row) {
        line.clear();
        for (int c = 0; c < columns_; ++c) {
            const XlsCell& cell = (*row)[c];
            switch (cell.GetType()) {
            case XlsCell::Undefined:
                break;
            case XlsCell::Integer:
                AppendNumber(line, cell.IntegerValue());
                break;
            case XlsCell::Double:
                AppendNumber(line, cell.DoubleValue());
                break;
            case XlsCell::String:
                AppendQualified<char>(line, cell.Text(), qualifier);
                break;
            case XlsCell::WideString:
                AppendQualifiedWide(line, cell.WideText(), qualifier);
                break;
            }
            if (c + 1 < columns_)
                line += delimiter;
        }
        line += '\n';
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
    out.flush();
    return static_cast<bool>(out);
}
