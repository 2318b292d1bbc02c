#pragma once
// Little-endian fields, as both file formats of the export store their numbers.
#include <cstdint>

namespace korvyn {

inline void PutU16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutU32(std::uint8_t* at, std::uint32_t v) {
    PutU16(at, static_cast<std::uint16_t>(v));
    PutU16(at + 2, static_cast<std::uint16_t>(v >> 16));
}

} // namespace korvyn
