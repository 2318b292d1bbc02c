#pragma once
// WINDOW2 (0x023E): the sheet's window; only the first sheet is selected.
#include "export/XlsRecord.h"

namespace korvyn {

class Window2Record : public XlsRecord {
public:
    explicit Window2Record(bool selected) : XlsRecord(0x023E), selected_(selected) {}

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    bool selected_;
};

} // namespace korvyn
