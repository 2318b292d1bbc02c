#include "export/records/NumberRecord.h"

namespace korvyn {

void NumberRecord::WriteData(XlsSerializer& out) const {
    out.U16(row_);
    out.U16(column_);
    out.U16(0); // XF
    out.F64(value_);
}

} // namespace korvyn
