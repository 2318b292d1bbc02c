#include "export/records/RkRecord.h"

namespace korvyn {

void RkRecord::WriteData(XlsSerializer& out) const {
    out.U16(row_);
    out.U16(column_);
    out.U16(0); // XF
    out.U32(rk_);
}

} // namespace korvyn
