#pragma once
// RK (0x027E): a number cell in the 30-bit RK form.
#include "export/XlsCellRecord.h"

namespace korvyn {

class RkRecord : public XlsCellRecord {
public:
    RkRecord(std::uint16_t row, std::uint16_t column, std::uint32_t rk)
        : XlsCellRecord(0x027E, row, column), rk_(rk) {}

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::uint32_t rk_;
};

} // namespace korvyn
