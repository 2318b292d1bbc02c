#include "export/XlsWorksheet.h"

#include "platform/system/TextCodec.h"

#include <charconv>
#include <ostream>
#include <string>

namespace {

void AppendQualified(std::string& line, std::string_view text, char qualifier) {
    line += qualifier;
    for (char c : text) {
        line += c;
        if (c == qualifier)
            line += c;
    }
    line += qualifier;
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
                AppendQualified(line, cell.Text(), qualifier);
                break;
            case XlsCell::WideString:
                AppendQualified(line, korvyn::platform::Utf16ToUtf8(cell.WideText()), qualifier);
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
