#pragma once
// WINDOW1 (0x003D): the workbook window, its first sheet active and selected.
#include "export/XlsRecord.h"

namespace korvyn {

class Window1Record : public XlsRecord {
public:
    Window1Record() : XlsRecord(0x003D) {}

protected:
    void WriteData(XlsSerializer& out) const override;
};

} // namespace korvyn
