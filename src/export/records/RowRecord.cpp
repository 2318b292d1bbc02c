#include "export/records/RowRecord.h"

namespace korvyn {

void RowRecord::WriteData(XlsSerializer& out) const {
    out.U16(row_);
    out.U16(0); // first column
    out.U16(columns_);
    out.U16(0x00FF); // height
    out.U16(0);
    out.U16(0);
    out.U32(0); // options
}

} // namespace korvyn
