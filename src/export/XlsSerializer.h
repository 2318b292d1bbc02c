#pragma once
// Lays out the data of one BIFF record. Without an output buffer it only counts, with one
// it writes, so a record's size and its bytes come from the same code. A record's data
// travels in pieces of at most 8224 bytes: the first after the record header, each
// further one in a CONTINUE record. Pieces begin where Continue is called, or where the
// data reaches the limit of the current piece; the 4-byte header of each CONTINUE record
// is left as a gap in the output for XlsRecord::Write to fill.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvyn {

class XlsSerializer {
public:
    static constexpr std::size_t kMaxPiece = 8224;

    explicit XlsSerializer(std::uint8_t* out = nullptr) : out_(out) {}

    void U8(std::uint8_t v) { Put(&v, 1); }
    void U16(std::uint16_t v);
    void U32(std::uint32_t v);
    void F64(double v);
    void Chars8(std::string_view text);
    void Chars16(std::u16string_view text);

    // Starts a CONTINUE record at the current position.
    void Continue();

    std::size_t DataSize() const { return size_; }
    // Bytes left in the current piece.
    std::size_t Room() const { return pieceStart_ + kMaxPiece - size_; }
    // Data offsets at which CONTINUE records begin.
    const std::vector<std::size_t>& ContinuePositions() const { return continues_; }

private:
    void Put(const void* bytes, std::size_t n);

    std::uint8_t* out_;
    std::size_t size_ = 0;
    std::size_t pieceStart_ = 0;
    std::vector<std::size_t> continues_;
};

} // namespace korvyn
