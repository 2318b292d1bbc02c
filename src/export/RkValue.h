#pragma once
// The RK form of a number: the upper 30 bits of a double, optionally of the number times
// 100 (bit 0 set). A number qualifies when trunc(v * 100) * 100 equals trunc(v * 10000);
// one that qualifies but loses bits in the 30-bit form has no RK form here, so it is
// written whole instead of changed.
#include <cstdint>
#include <optional>

namespace korvyn {

std::optional<std::uint32_t> RkValue(double v);

// The number an RK value stands for.
double RkNumber(std::uint32_t rk);

} // namespace korvyn
