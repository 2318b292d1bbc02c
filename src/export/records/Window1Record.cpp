#include "export/records/Window1Record.h"

namespace korvyn {

void Window1Record::WriteData(XlsSerializer& out) const {
    out.U16(120);   // x
    out.U16(120);   // y
    out.U16(15135); // width
    out.U16(9300);  // height
    out.U16(0x0038);
    out.U16(0);   // active sheet
    out.U16(0);   // first visible tab
    out.U16(1);   // selected tabs
    out.U16(600); // tab bar width ratio
}

} // namespace korvyn
