#include "export/records/LabelSstRecord.h"

namespace korvyn {

void LabelSstRecord::WriteData(XlsSerializer& out) const {
    WriteCellStart(out);
    out.U32(string_);
}

} // namespace korvyn
