#include "export/XlsSerializer.h"

#include "export/LittleEndian.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace korvyn {

void XlsSerializer::U16(std::uint16_t v) {
    std::uint8_t b[2];
    PutU16(b, v);
    Put(b, sizeof b);
}

void XlsSerializer::U32(std::uint32_t v) {
    std::uint8_t b[4];
    PutU32(b, v);
    Put(b, sizeof b);
}

void XlsSerializer::F64(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    U32(static_cast<std::uint32_t>(bits));
    U32(static_cast<std::uint32_t>(bits >> 32));
}

void XlsSerializer::Chars8(std::string_view text) {
    Put(text.data(), text.size());
}

void XlsSerializer::Chars16(std::u16string_view text) {
    if (!out_) {
        Put(nullptr, 2 * text.size());
        return;
    }
    for (char16_t c : text)
        U16(static_cast<std::uint16_t>(c));
}

void XlsSerializer::Continue() {
    continues_.push_back(size_);
    pieceStart_ = size_;
    if (out_)
        out_ += 4;
}

void XlsSerializer::Put(const void* bytes, std::size_t n) {
    const auto* from = static_cast<const std::uint8_t*>(bytes);
    while (n > 0) {
        if (Room() == 0)
            Continue();
        const std::size_t part = std::min(n, Room());
        if (out_) {
            std::memcpy(out_, from, part);
            out_ += part;
            from += part;
        }
        size_ += part;
        n -= part;
    }
}

} // namespace korvyn
