#pragma once
// DIMENSIONS (0x0200): the sheet's used rows and columns.
#include "export/XlsRecord.h"

namespace korvyn {

class DimensionsRecord : public XlsRecord {
public:
    DimensionsRecord() : XlsRecord(0x0200) {}

    std::uint32_t firstRow = 0;
    std::uint32_t lastRowPlus1 = 0;
    std::uint16_t firstColumn = 0;
    std::uint16_t lastColumnPlus1 = 0;

protected:
    void WriteData(XlsSerializer& out) const override;
};

} // namespace korvyn
