#include "export/records/RkRecord.h"

namespace korvyn {

void RkRecord::WriteData(XlsSerializer& out) const {
    WriteCellStart(out);
    out.U32(rk_);
}

} // namespace korvyn
