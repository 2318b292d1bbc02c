#pragma once
// DBCELL (0x00D7): closes a row block, pointing back to its first ROW and to the first cell
// of each of its rows.
#include "export/XlsRecord.h"

#include <vector>

namespace korvyn {

class DbCellRecord : public XlsRecord {
public:
    DbCellRecord() : XlsRecord(0x00D7) {}

    // From this record back to the block's first ROW; 0 for a block without rows.
    std::uint32_t firstRowOffset = 0;
    // The first from the end of the first ROW to the first cell record, each further one
    // from the previous row's first cell record to this row's.
    std::vector<std::uint16_t> rowOffsets;

protected:
    void WriteData(XlsSerializer& out) const override;
};

} // namespace korvyn
