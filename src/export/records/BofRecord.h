#pragma once
// BOF (0x0809): opens the workbook part or a sheet.
#include "export/XlsRecord.h"

namespace korvyn {

class BofRecord : public XlsRecord {
public:
    enum Substream : std::uint16_t { kWorkbookPart = 0x0005, kSheet = 0x0010 };
    explicit BofRecord(Substream substream) : XlsRecord(0x0809), substream_(substream) {}

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::uint16_t substream_;
};

} // namespace korvyn
