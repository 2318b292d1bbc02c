#pragma once
// The base of every BIFF record kind. A kind lays out its fields in WriteData; sizes and
// bytes both come from that one function, so they cannot disagree.
#include "export/XlsSerializer.h"

#include <cstddef>
#include <cstdint>

namespace korvyn {

class XlsRecord {
public:
    static constexpr std::uint16_t kContinue = 0x003C;

    explicit XlsRecord(std::uint16_t type) : type_(type) {}
    virtual ~XlsRecord() = default;

    // Emits the record with its CONTINUE records at `at`; returns the bytes written, which
    // are always RecordSize().
    std::size_t Write(std::uint8_t* at) const;
    std::size_t DataSize() const;
    // The data size plus 4 bytes for the record header and for each CONTINUE header.
    std::size_t RecordSize() const;

    std::uint16_t Type() const { return type_; }

protected:
    XlsRecord(const XlsRecord&) = default;
    XlsRecord& operator=(const XlsRecord&) = default;

    virtual void WriteData(XlsSerializer& out) const = 0;

private:
    std::uint16_t type_;
};

} // namespace korvyn
