#pragma once
// A rectangular grid of cells, stored row by row. Its row and column counts start at 0 and
// only grow: addressing a cell beyond the grid enlarges it to cover that cell, every new
// cell starting Undefined. Rows 0 to 65535 and columns 0 to 255 exist.
#include "export/DelimitedText.h"
#include "export/XlsCell.h"

#include <iosfwd>
#include <vector>

class XlsWorksheet {
public:
    static constexpr int kMaxRow = 65535;
    static constexpr int kMaxColumn = 255;

    int RowCount() const { return static_cast<int>(rows_.size()); }
    int ColumnCount() const { return columns_; }

    // The cell, growing the grid; nullptr beyond the bounds.
    XlsCell* CellAt(int row, int column);
    // The cell without growing the grid; nullptr outside it.
    const XlsCell* Cell(int row, int column) const;

    // Prints the grid as delimited text: each row on a line ended by a line feed, its
    // fields separated by the delimiter. Texts stand between qualifiers, a qualifier inside
    // them written twice; wide texts are written in UTF-8. Numbers are written as they
    // are, Undefined cells as empty fields. False when the stream failed.
    bool WriteDelimited(std::ostream& out, char delimiter, char qualifier) const;
    // The same text added to a buffer.
    void AppendDelimited(korvyn::DelimitedText& text) const;

private:
    int columns_ = 0;
    std::vector<std::vector<XlsCell>> rows_;
};
