#include "export/records/StyleRecord.h"

namespace korvyn {

void StyleRecord::WriteData(XlsSerializer& out) const {
    out.U16(0x8000); // XF 0, built in
    out.U8(0);       // Normal
    out.U8(0xFF);    // outline level
}

} // namespace korvyn
