#include "export/XlsSerializer.h"

#include <algorithm>
#include <bit>

namespace korvyn {

void XlsSerializer::F64(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    U32(static_cast<std::uint32_t>(bits));
    U32(static_cast<std::uint32_t>(bits >> 32));
}

void XlsSerializer::Chars16(std::u16string_view text) {
    if (text.empty())
        return; // an empty text may have no storage to copy from
    if (2 * text.size() > Room()) {
        for (char16_t c : text)
            U16(static_cast<std::uint16_t>(c));
        return;
    }
    if (out_ && std::endian::native == std::endian::little) {
        std::memcpy(out_, text.data(), 2 * text.size());
        out_ += 2 * text.size();
    } else if (out_) {
        for (char16_t c : text) {
            *out_++ = static_cast<std::uint8_t>(c);
            *out_++ = static_cast<std::uint8_t>(c >> 8);
        }
    }
    size_ += 2 * text.size();
}

void XlsSerializer::Continue() {
    continues_.push_back(size_);
    pieceStart_ = size_;
    if (out_)
        out_ += 4;
}

void XlsSerializer::PutAcrossPieces(const std::uint8_t* bytes, std::size_t n) {
    while (n > 0) {
        if (Room() == 0)
            Continue();
        const std::size_t part = std::min(n, Room());
        if (out_) {
            std::memcpy(out_, bytes, part);
            out_ += part;
        }
        bytes += part;
        size_ += part;
        n -= part;
    }
}

} // namespace korvyn
