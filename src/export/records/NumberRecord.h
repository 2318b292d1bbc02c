#pragma once
// NUMBER (0x0203): a number cell holding the whole 64-bit double.
#include "export/XlsRecord.h"

namespace korvyn {

class NumberRecord : public XlsRecord {
public:
    NumberRecord(std::uint16_t row, std::uint16_t column, double value)
        : XlsRecord(0x0203), row_(row), column_(column), value_(value) {}

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::uint16_t row_;
    std::uint16_t column_;
    double value_;
};

} // namespace korvyn
