#include "export/records/DimensionsRecord.h"

namespace korvyn {

void DimensionsRecord::WriteData(XlsSerializer& out) const {
    out.U32(firstRow);
    out.U32(lastRowPlus1);
    out.U16(firstColumn);
    out.U16(lastColumnPlus1);
    out.U16(0);
}

} // namespace korvyn
