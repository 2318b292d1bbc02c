#pragma once
// STYLE (0x0293): the built-in Normal style.
#include "export/XlsRecord.h"

namespace korvyn {

class StyleRecord : public XlsRecord {
public:
    StyleRecord() : XlsRecord(0x0293) {}

protected:
    void WriteData(XlsSerializer& out) const override;
};

} // namespace korvyn
