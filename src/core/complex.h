// Complex: the value every operation of the calculator works on.
#pragma once

#include <bit>
#include <cstdint>

namespace kx {

// A complex number as two IEEE doubles, real part first. Signs of zero parts are
// significant: the logarithms choose the side of their branch cut by them.
struct Complex {
    double re;
    double im;
};

// The quiet NaN with the sign bit set, 0xFFF8000000000000. Division, reciprocal and the
// inverse functions return it in both parts when they cannot form a result.
inline constexpr double defaultNaN = std::bit_cast<double>(std::uint64_t{0xFFF8000000000000});
inline constexpr Complex defaultNaNPair{defaultNaN, defaultNaN};

}  // namespace kx
