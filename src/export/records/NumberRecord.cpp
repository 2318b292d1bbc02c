#include "export/records/NumberRecord.h"

namespace korvyn {

void NumberRecord::WriteData(XlsSerializer& out) const {
    WriteCellStart(out);
    out.F64(value_);
}

} // namespace korvyn
