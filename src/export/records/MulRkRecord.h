#pragma once
// MULRK (0x00BD): a run of adjacent number cells of one row, each in the RK form.
#include "export/XlsRecord.h"

#include <vector>

namespace korvyn {

class MulRkRecord : public XlsRecord {
public:
    MulRkRecord(std::uint16_t row, std::uint16_t firstColumn, std::vector<std::uint32_t> rks)
        : XlsRecord(0x00BD), row_(row), firstColumn_(firstColumn), rks_(std::move(rks)) {}

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::uint16_t row_;
    std::uint16_t firstColumn_;
    std::vector<std::uint32_t> rks_;
};

} // namespace korvyn
