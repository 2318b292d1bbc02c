#include "export/records/Window2Record.h"

namespace korvyn {

void Window2Record::WriteData(XlsSerializer& out) const {
    out.U16(selected_ ? 0x06B6 : 0x04B6);
    out.U16(0);      // first visible row
    out.U16(0);      // first visible column
    out.U16(0x0040); // grid line colour
    out.U16(0);
    out.U16(0);
    out.U16(0);
    out.U32(0);
}

} // namespace korvyn
