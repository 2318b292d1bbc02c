#include "export/records/MulRkRecord.h"

namespace korvyn {

void MulRkRecord::WriteData(XlsSerializer& out) const {
    out.U16(row_);
    out.U16(firstColumn_);
    for (std::uint32_t rk : rks_) {
        out.U16(0); // XF
        out.U32(rk);
    }
    out.U16(static_cast<std::uint16_t>(firstColumn_ + rks_.size() - 1));
}

} // namespace korvyn
