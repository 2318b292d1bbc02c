#include "support/FuzzInput.h"

#include <algorithm>
#include <cstring>

namespace korvyn::fuzz {

std::uint64_t FuzzInput::Bytes(std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i, ++at_)
        if (at_ < size_)
            v |= std::uint64_t{static_cast<std::uint8_t>(data_[at_])} << (8 * i);
    return v;
}

std::uint8_t FuzzInput::U8() {
    return static_cast<std::uint8_t>(Bytes(1));
}

std::uint16_t FuzzInput::U16() {
    return static_cast<std::uint16_t>(Bytes(2));
}

std::uint32_t FuzzInput::U32() {
    return static_cast<std::uint32_t>(Bytes(4));
}

double FuzzInput::F64() {
    const std::uint64_t bits = Bytes(8);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::string_view FuzzInput::Chunk() {
    const std::size_t length = U16();
    const std::size_t from = std::min(at_, size_);
    const std::size_t n = std::min(length, size_ - from);
    at_ = from + n;
    return {data_ + from, n};
}

std::string_view FuzzInput::Rest() {
    const std::size_t from = std::min(at_, size_);
    at_ = size_;
    return {data_ + from, size_ - from};
}

void FuzzOutput::Put(std::uint64_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        bytes_ += static_cast<char>(v >> (8 * i));
}

FuzzOutput& FuzzOutput::U8(std::uint8_t v) {
    Put(v, 1);
    return *this;
}

FuzzOutput& FuzzOutput::U16(std::uint16_t v) {
    Put(v, 2);
    return *this;
}

FuzzOutput& FuzzOutput::U32(std::uint32_t v) {
    Put(v, 4);
    return *this;
}

FuzzOutput& FuzzOutput::F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Put(bits, 8);
    return *this;
}

FuzzOutput& FuzzOutput::Chunk(std::string_view bytes) {
    bytes = bytes.substr(0, 0xFFFF);
    U16(static_cast<std::uint16_t>(bytes.size()));
    return Raw(bytes);
}

FuzzOutput& FuzzOutput::Raw(std::string_view bytes) {
    bytes_.append(bytes);
    return *this;
}

} // namespace korvyn::fuzz
