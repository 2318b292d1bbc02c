#pragma once
// FONT (0x0031): 10-point regular Arial in the automatic colour.
#include "export/XlsRecord.h"
#include <string_view>

namespace korvyn {

class FontRecord : public XlsRecord {
public:
    FontRecord() : XlsRecord(0x0031) {}

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::u16string_view name_ = u"Arial";
};

} // namespace korvyn
