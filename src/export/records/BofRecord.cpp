#include "export/records/BofRecord.h"

namespace korvyn {

void BofRecord::WriteData(XlsSerializer& out) const {
    out.U16(0x0600); // BIFF8
    out.U16(substream_);
    out.U16(0x19A0); // build
    out.U16(1997);   // build year
    out.U32(0x0000C0C9);
    out.U32(0x00000306);
}

} // namespace korvyn
