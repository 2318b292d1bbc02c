#pragma once
// LABELSST (0x00FD): a text cell referring to a string of the shared string table.
#include "export/XlsRecord.h"

namespace korvyn {

class LabelSstRecord : public XlsRecord {
public:
    LabelSstRecord(std::uint16_t row, std::uint16_t column, std::uint32_t string)
        : XlsRecord(0x00FD), row_(row), column_(column), string_(string) {}

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::uint16_t row_;
    std::uint16_t column_;
    std::uint32_t string_;
};

} // namespace korvyn
