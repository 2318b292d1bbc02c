#include "export/records/LabelSstRecord.h"

namespace korvyn {

void LabelSstRecord::WriteData(XlsSerializer& out) const {
    out.U16(row_);
    out.U16(column_);
    out.U16(0); // XF
    out.U32(string_);
}

} // namespace korvyn
