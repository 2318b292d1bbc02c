#pragma once
// ROW (0x0208): one row holding cells, spanning all the sheet's columns at default height.
#include "export/XlsRecord.h"

namespace korvyn {

class RowRecord : public XlsRecord {
public:
    RowRecord(std::uint16_t row, std::uint16_t columns)
        : XlsRecord(0x0208), row_(row), columns_(columns) {}

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::uint16_t row_;
    std::uint16_t columns_;
};

} // namespace korvyn
