#pragma once
// EOF (0x000A): closes the workbook part or a sheet.
#include "export/XlsRecord.h"

namespace korvyn {

class EofRecord : public XlsRecord {
public:
    EofRecord() : XlsRecord(0x000A) {}

protected:
    void WriteData(XlsSerializer& out) const override;
};

} // namespace korvyn
