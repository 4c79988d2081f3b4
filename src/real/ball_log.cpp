// The logarithms on balls: log1p of a reduced argument by one Newton step on expm1, and log
// and log1p by reduction to it.
//
// For d in about [-1/4, 1/2] and an estimate y0 of log1p d (an exact midpoint):
//   log1p d = y0 + log(1 + c),  c = (d - E)/(1 + E),  E = expm1 y0,
// and |log(1 + c) - c| <= c² for |c| <= 1/2, so log1p d lies in y0 + c ± |c|², c evaluated
// on balls. The estimate comes from the double-double logarithm (relative error about
// 2^-100) up to w = 192 bits, or from this same step at w/2 + 32 bits: either way c² is far
// below 2^-w of the result.
// log x = e·ln 2 + log1p(x·2^-e - 1), e chosen so that x·2^-e lies in [3/4, 3/2).
#include "real/ball_kernels.h"
#include "real/log.h"

namespace kx::real {

namespace {

constexpr int estimateBits = 192;

Ball log1pEstimate(const Ball& d) {
    const int bits = d.bits();
    if (bits > estimateBits) {
        const Ball coarse = log1pReduced(withBits(midpoint(d), bits / 2 + 32));
        return midpoint(withBits(coarse, bits));
    }
    const ScaledDoubleDouble leading = leadingDoubleDouble(d.mid());
    if (leading.exponent < -60) {  // log1p d = d - d²/2 + O(d³)
        const Ball value = midpoint(d);
        return midpoint(value - scaled(value * value, -1));
    }
    const DoubleDouble argument{scaledByPowerOfTwo(leading.value.high, leading.exponent),
                                scaledByPowerOfTwo(leading.value.low, leading.exponent)};
    const DoubleDouble estimate = wide::log1p(argument);
    return midpoint(Ball(estimate.high, bits) + Ball(estimate.low, bits));
}

}  // namespace

Ball log1pReduced(const Ball& d) {
    const int bits = d.bits();
    if (d.unbounded() || (isZero(d.mid()) && isZero(d.radius()))) return d;
    const Ball estimate = log1pEstimate(d);
    const Ball e = expm1Reduced(estimate);
    const Ball correction = (d - e) / (one(bits) + e);
    const Magnitude size = magnitudeUp(correction);
    if (correction.unbounded() || compare(size, powerOfTwoMagnitude(-1)) > 0) return Ball::unboundedBall(bits);
    return widened(estimate + correction, multiplyUp(size, size));
}

Ball logAtWorking(const Ball& x) {
    const int bits = x.bits();
    if (!x.positive()) return Ball::unboundedBall(bits);
    const BigFloat& mid = x.mid();
    const bool upperQuarter = mid.limbs[mid.count - 1] >= 0xC0000000u;  // mid/2^exponent >= 3/4
    const int exponent = upperQuarter ? mid.exponent : mid.exponent - 1;
    const Ball reduced = log1pReduced(scaled(x, -exponent) - one(bits));
    if (exponent == 0) return reduced;
    return withBits(Ball(static_cast<double>(exponent), bits) * ln2(bits + ballGuardBits) + reduced, bits);
}

Ball log(const Ball& x) {
    const Ball wide = withBits(x, workingBits(x.bits()));
    return withBits(logAtWorking(wide), x.bits());
}

Ball log1pAtWorking(const Ball& d) {
    const Ball onePlus = one(d.bits()) + d;
    if (!onePlus.positive()) return Ball::unboundedBall(d.bits());
    const double estimate = midpointRounded(d);
    return estimate >= -0.25 && estimate <= 0.5 ? log1pReduced(d) : logAtWorking(onePlus);
}

Ball log1p(const Ball& x) { return withBits(log1pAtWorking(withBits(x, workingBits(x.bits()))), x.bits()); }

}  // namespace kx::real
