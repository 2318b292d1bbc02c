#pragma once
// Lays out the data of one BIFF record. Without an output buffer it only counts, with one
// it writes, so a record's size and its bytes come from the same code. A record's data
// travels in pieces of at most 8224 bytes: the first after the record header, each
// further one in a CONTINUE record. Pieces begin where Continue is called, or where the
// data reaches the limit of the current piece; the 4-byte header of each CONTINUE record
// is left as a gap in the output for XlsRecord::Write to fill.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace korvyn {

class XlsSerializer {
public:
    static constexpr std::size_t kMaxPiece = 8224;

    explicit XlsSerializer(std::uint8_t* out = nullptr) : out_(out) {}

    void U8(std::uint8_t v) { Put(&v, 1); }
    void U16(std::uint16_t v) {
        const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
        Put(b, 2);
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void F64(double v);
    void Chars8(std::string_view text) { Put(text.data(), text.size()); }
    void Chars16(std::u16string_view text);

    // Starts a CONTINUE record at the current position.
    void Continue();

    std::size_t DataSize() const { return size_; }
    // Bytes left in the current piece.
    std::size_t Room() const { return pieceStart_ + kMaxPiece - size_; }
    // Data offsets at which CONTINUE records begin.
    const std::vector<std::size_t>& ContinuePositions() const { return continues_; }

private:
    void Put(const void* bytes, std::size_t n) {
        if (n == 0)
            return; // an empty text may have no storage to copy from
        if (n > Room()) {
            PutAcrossPieces(static_cast<const std::uint8_t*>(bytes), n);
            return;
        }
        if (out_) {
            std::memcpy(out_, bytes, n);
            out_ += n;
        }
        size_ += n;
    }
    void PutAcrossPieces(const std::uint8_t* bytes, std::size_t n);

    std::uint8_t* out_;
    std::size_t size_ = 0;
    std::size_t pieceStart_ = 0;
    std::vector<std::size_t> continues_;
};

} // namespace korvyn
