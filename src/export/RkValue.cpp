#include "export/RkValue.h"

#include <bit>
#include <cmath>

namespace korvyn {
namespace {

std::uint32_t UpperBits(double v) {
    return static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(v) >> 32) & ~0x3u;
}

} // namespace

double RkNumber(std::uint32_t rk) {
    const double v = std::bit_cast<double>(std::uint64_t{rk & ~0x3u} << 32);
    return (rk & 0x1) ? v / 100 : v;
}

std::optional<std::uint32_t> RkValue(double v) {
    if (!(std::trunc(v * 100) * 100 == std::trunc(v * 10000)))
        return std::nullopt;
    const std::uint32_t rk =
        std::trunc(v) * 100 == std::trunc(v * 100) ? UpperBits(v) : UpperBits(v * 100) | 0x1;
    if (std::bit_cast<std::uint64_t>(RkNumber(rk)) != std::bit_cast<std::uint64_t>(v))
        return std::nullopt;
    return rk;
}

} // namespace korvyn
