#include "export/records/XfRecord.h"

namespace korvyn {

void XfRecord::WriteData(XlsSerializer& out) const {
    out.U16(0);      // font
    out.U16(0);      // number format
    out.U16(0xFFF5); // protection and parent
    out.U8(0x20);    // alignment
    out.U8(0);       // rotation
    out.U8(0);       // indent and text options
    out.U8(0);       // used attributes
    out.U32(0);      // borders
    out.U32(0);      // border colours
    out.U16(0x20C0); // pattern colours
}

} // namespace korvyn
