#pragma once
// NUMBER (0x0203): a number cell holding the whole 64-bit double.
#include "export/XlsCellRecord.h"

namespace korvyn {

class NumberRecord : public XlsCellRecord {
public:
    NumberRecord(std::uint16_t row, std::uint16_t column, double value)
        : XlsCellRecord(0x0203, row, column), value_(value) {}

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    double value_;
};

} // namespace korvyn
