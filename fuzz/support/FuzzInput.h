#pragma once
// The layout the structured fuzz targets read their input in, and the writer the seed
// corpus is made with: little-endian numbers and chunks of bytes with a 16-bit length in
// front. Reading past the end gives zeros and empty chunks, so every input means something.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvyn::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : data_(reinterpret_cast<const char*>(data)), size_(size) {}

    bool Empty() const { return at_ >= size_; }
    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    double F64();
    std::string_view Chunk(); // a 16-bit length, then that many bytes (fewer at the end)
    std::string_view Rest();

private:
    std::uint64_t Bytes(std::size_t n);

    const char* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

class FuzzOutput {
public:
    FuzzOutput& U8(std::uint8_t v);
    FuzzOutput& U16(std::uint16_t v);
    FuzzOutput& U32(std::uint32_t v);
    FuzzOutput& F64(double v);
    FuzzOutput& Chunk(std::string_view bytes); // at most 65535 bytes of it
    FuzzOutput& Raw(std::string_view bytes);
    const std::string& Bytes() const { return bytes_; }

private:
    void Put(std::uint64_t v, std::size_t n);
    std::string bytes_;
};

} // namespace korvyn::fuzz
