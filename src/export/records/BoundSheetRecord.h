#pragma once
// BOUNDSHEET (0x0085): a sheet's name and the stream position of its BOF.
#include "export/XlsRecord.h"

#include <string>

namespace korvyn {

class BoundSheetRecord : public XlsRecord {
public:
    explicit BoundSheetRecord(std::string name) : XlsRecord(0x0085), name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    void SetPosition(std::uint32_t position) { position_ = position; }

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::string name_; // 8-bit
    std::uint32_t position_ = 0;
};

} // namespace korvyn
