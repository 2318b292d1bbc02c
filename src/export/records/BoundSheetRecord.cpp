#include "export/records/BoundSheetRecord.h"

#include "platform/system/TextCodec.h"

#include <algorithm>

namespace korvyn {

void BoundSheetRecord::WriteData(XlsSerializer& out) const {
    out.U32(position_);
    out.U8(0); // visible
    out.U8(0); // worksheet
    const bool ascii = std::all_of(name_.begin(), name_.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        out.U8(static_cast<std::uint8_t>(name_.size()));
        out.U8(0x00);
        out.Chars8(name_);
        return;
    }
    // Other 8-bit names are UTF-8 and go in as UTF-16 characters.
    const std::u16string wide = platform::SystemBytesToWide(name_);
    out.U8(static_cast<std::uint8_t>(wide.size()));
    out.U8(0x01);
    out.Chars16(wide);
}

} // namespace korvyn
