#include "export/XlsWorksheet.h"

#include <ostream>

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

void XlsWorksheet::AppendDelimited(korvyn::DelimitedText& text) const {
    for (const auto& row : rows_) {
        for (const XlsCell& cell : row) {
            switch (cell.GetType()) {
            case XlsCell::Undefined:
                text.Empty();
                break;
            case XlsCell::Integer:
                text.Number(cell.IntegerValue());
                break;
            case XlsCell::Double:
                text.Number(cell.DoubleValue());
                break;
            case XlsCell::String:
                text.Text(std::string_view(cell.Text()));
                break;
            case XlsCell::WideString:
                text.Text(std::u16string_view(cell.WideText()));
                break;
            }
        }
        text.EndRow();
    }
}

bool XlsWorksheet::WriteDelimited(std::ostream& out, char delimiter, char qualifier) const {
    korvyn::DelimitedText text(delimiter, qualifier);
    AppendDelimited(text);
    out.write(text.Bytes().data(), static_cast<std::streamsize>(text.Bytes().size()));
    out.flush();
    return static_cast<bool>(out);
}
