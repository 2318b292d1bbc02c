#pragma once
// RK (0x027E): a number cell in the 30-bit RK form.
#include "export/XlsRecord.h"

namespace korvyn {

class RkRecord : public XlsRecord {
public:
    RkRecord(std::uint16_t row, std::uint16_t column, std::uint32_t rk)
        : XlsRecord(0x027E), row_(row), column_(column), rk_(rk) {}

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::uint16_t row_;
    std::uint16_t column_;
    std::uint32_t rk_;
};

} // namespace korvyn
