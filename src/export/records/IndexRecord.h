#pragma once
// INDEX (0x020B): the sheet's used rows and the stream position of each row block's DBCELL.
#include "export/XlsRecord.h"

#include <vector>

namespace korvyn {

class IndexRecord : public XlsRecord {
public:
    IndexRecord() : XlsRecord(0x020B) {}

    std::uint32_t firstRow = 0;
    std::uint32_t lastRowPlus1 = 0;
    std::vector<std::uint32_t> dbCellPositions;

protected:
    void WriteData(XlsSerializer& out) const override;
};

} // namespace korvyn
