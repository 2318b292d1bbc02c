#pragma once
// LABELSST (0x00FD): a text cell referring to a string of the shared string table.
#include "export/XlsCellRecord.h"

namespace korvyn {

class LabelSstRecord : public XlsCellRecord {
public:
    LabelSstRecord(std::uint16_t row, std::uint16_t column, std::uint32_t string)
        : XlsCellRecord(0x00FD, row, column), string_(string) {}

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::uint32_t string_;
};

} // namespace korvyn
