#include "export/records/FontRecord.h"

namespace korvyn {

void FontRecord::WriteData(XlsSerializer& out) const {
    out.U16(200);    // twentieths of a point
    out.U16(0);      // options
    out.U16(0x7FFF); // automatic colour
    out.U16(400);    // weight
    out.U16(0);      // escapement
    out.U8(0);       // underline
    out.U8(0);       // family
    out.U8(0);       // character set
    out.U8(0);
    out.U8(static_cast<std::uint8_t>(name_.size()));
    out.U8(0x01); // UTF-16 characters
    out.Chars16(name_);
}

} // namespace korvyn
