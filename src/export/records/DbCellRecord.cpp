#include "export/records/DbCellRecord.h"

namespace korvyn {

void DbCellRecord::WriteData(XlsSerializer& out) const {
    out.U32(firstRowOffset);
    for (std::uint16_t offset : rowOffsets)
        out.U16(offset);
}

} // namespace korvyn
