// Scaling a double by a power of two with one multiplication, which every target rounds the
// same way, instead of a call of the C runtime's ldexp.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace kx {

// 2^exponent for exponent in [-1022, 1023], formed from its bits.
inline double powerOfTwo(int exponent) {
    return std::bit_cast<double>(static_cast<std::uint64_t>(exponent + 1023) << 52);
}

// x·2^exponent rounded once, the value ldexp gives: where 2^exponent is a normal double the
// product is exact, or rounded once onto the subnormal grid, or an overflow to an infinity,
// as ldexp's is; beyond that range (a scaling that crosses the whole normal range in one
// step) ldexp itself.
inline double scaledByPowerOfTwo(double x, int exponent) {
    if (exponent >= -1022 && exponent <= 1023) return x * powerOfTwo(exponent);
    return std::ldexp(x, exponent);
}

}  // namespace kx
