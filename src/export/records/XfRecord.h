#pragma once
// XF (0x00E0): a cell format using font 0 and the general number format.
#include "export/XlsRecord.h"

namespace korvyn {

class XfRecord : public XlsRecord {
public:
    XfRecord() : XlsRecord(0x00E0) {}

protected:
    void WriteData(XlsSerializer& out) const override;
};

} // namespace korvyn
