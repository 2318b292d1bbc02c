#include "export/RkValue.h"

#include <bit>
#include <cmath>

namespace korvyn {
namespace {

// Truncation toward zero; doubles of 2^52 and beyond are whole already (and NaN stays NaN).
double Trunc(double v) {
    return std::fabs(v) < 0x1p52 ? static_cast<double>(static_cast<std::int64_t>(v)) : v;
}

std::uint32_t UpperBits(double v) {
    return static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(v) >> 32) & ~0x3u;
}

} // namespace

double RkNumber(std::uint32_t rk) {
    const double v = std::bit_cast<double>(std::uint64_t{rk & ~0x3u} << 32);
    return (rk & 0x1) ? v / 100 : v;
}

std::optional<std::uint32_t> RkValue(double v) {
    if (!(Trunc(v * 100) * 100 == Trunc(v * 10000)))
        return std::nullopt;
    const std::uint32_t rk =
        Trunc(v) * 100 == Trunc(v * 100) ? UpperBits(v) : UpperBits(v * 100) | 0x1;
    if (std::bit_cast<std::uint64_t>(RkNumber(rk)) != std::bit_cast<std::uint64_t>(v))
        return std::nullopt;
    return rk;
}

} // namespace korvyn
