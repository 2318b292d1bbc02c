#include "export/records/IndexRecord.h"

namespace korvyn {

void IndexRecord::WriteData(XlsSerializer& out) const {
    out.U32(0);
    out.U32(firstRow);
    out.U32(lastRowPlus1);
    out.U32(0);
    for (std::uint32_t position : dbCellPositions)
        out.U32(position);
}

} // namespace korvyn
