// pi, ln 2 and ln 10 on balls: the generated tables' 2720 bits truncated to the ball's
// precision, the radius one unit of the truncation plus one of the table's last bit.
#include <cstdint>
#include <iterator>

#include "real/ball_functions.h"
#include "real/tables.h"

namespace kx::real {

namespace {

template <std::size_t count>
Ball constantBall(const std::uint32_t (&words)[count], int exponent, int bits) {
    std::uint32_t raw[count];
    for (std::size_t index = 0; index < count; ++index) raw[index] = words[count - 1 - index];
    const long unit = static_cast<long>(exponent) - 32L * static_cast<long>(count);
    Magnitude error;
    const BigFloat mid = normalisedFromLimbs(raw, static_cast<int>(count), unit, false, limbsFor(bits), error);
    return Ball(mid, addUp(error, powerOfTwoMagnitude(static_cast<int>(unit))), bits);
}

}  // namespace

Ball pi(int bits) { return constantBall(tables::piBallWords, tables::piBallExponent, bits); }
Ball ln2(int bits) { return constantBall(tables::lnTwoBallWords, tables::lnTwoBallExponent, bits); }
Ball ln10(int bits) { return constantBall(tables::lnTenBallWords, tables::lnTenBallExponent, bits); }

}  // namespace kx::real
