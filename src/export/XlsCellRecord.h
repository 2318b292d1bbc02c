#pragma once
// The base of the records that hold one cell: they begin with its row, its column and the
// index of its cell format (always 0 here).
#include "export/XlsRecord.h"

namespace korvyn {

class XlsCellRecord : public XlsRecord {
protected:
    XlsCellRecord(std::uint16_t type, std::uint16_t row, std::uint16_t column)
        : XlsRecord(type), row_(row), column_(column) {}

    void WriteCellStart(XlsSerializer& out) const {
        out.U16(row_);
        out.U16(column_);
        out.U16(0); // XF
    }

private:
    std::uint16_t row_;
    std::uint16_t column_;
};

} // namespace korvyn
