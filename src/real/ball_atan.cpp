// The arctangents on balls.
//
// For |x| <= 1 and an estimate y0 of atan x (an exact midpoint, |y0| <= π/4 or so):
//   atan x = y0 + atan c,  c = tan(atan x - y0) = (x·cos y0 - sin y0)/(cos y0 + x·sin y0),
// and |atan c - c| <= |c|³/3, so atan x lies in y0 + c ± |c|³, c evaluated on balls. The
// estimate is the double-double arctangent of x's leading double with a first-order
// correction for its second (relative error about 2^-100) up to w = 192 bits, or this same
// step at w/2 + 32 bits. Beyond 1, atan x = ±π/2 - atan(1/x).
// asin x and acos x are the angles of (sqrt((1 - x)(1 + x)), x) and (x, sqrt((1 - x)(1 + x))).
#include "real/ball_kernels.h"
#include "real/inverse_circular.h"

namespace kx::real {

namespace {

constexpr int estimateBits = 192;

Ball atanReduced(const Ball& x);

Ball atanEstimate(const Ball& x) {
    const int bits = x.bits();
    if (bits > estimateBits) {
        const Ball coarse = atanReduced(withBits(midpoint(x), bits / 2 + 32));
        return midpoint(withBits(coarse, bits));
    }
    const ScaledDoubleDouble leading = leadingDoubleDouble(x.mid());
    if (leading.exponent < -200) return midpoint(x);  // atan x = x(1 + O(x²))
    const double high = scaledByPowerOfTwo(leading.value.high, leading.exponent);
    const double low = scaledByPowerOfTwo(leading.value.low, leading.exponent);
    const DoubleDouble angle = ddAdd(wide::atan2(high, 1.0), {low / (1.0 + high * high), 0.0});
    return midpoint(Ball(angle.high, bits) + Ball(angle.low, bits));
}

Ball atanReduced(const Ball& x) {  // |x| <= 1 or about
    const int bits = x.bits();
    if (x.unbounded() || (isZero(x.mid()) && isZero(x.radius()))) return x;
    const Ball estimate = atanEstimate(x);
    const BallSineCosine angle = sinCosReduced(estimate);
    const Ball correction = (x * angle.cosine - angle.sine) / (angle.cosine + x * angle.sine);
    const Magnitude size = magnitudeUp(correction);
    if (correction.unbounded() || compare(size, powerOfTwoMagnitude(-1)) > 0) return Ball::unboundedBall(bits);
    return widened(estimate + correction, multiplyUp(size, multiplyUp(size, size)));
}

Ball signedHalfPi(bool negative, int bits) {
    const Ball quarterTurn = halfPi(bits + ballGuardBits);
    return negative ? -quarterTurn : quarterTurn;
}

}  // namespace

Ball atanAtWorking(const Ball& x) {
    const int bits = x.bits();
    if (x.unbounded()) return x;
    if (compareMagnitudes(x.mid(), bigFloatFromDouble(1.0)) <= 0) return atanReduced(x);
    return withBits(signedHalfPi(x.mid().negative, bits) - atanReduced(one(bits) / x), bits);
}

Ball atan(const Ball& x) { return withBits(atanAtWorking(withBits(x, workingBits(x.bits()))), x.bits()); }

// By the larger part: ±π/2 - atan(x/y) where |y| is the larger (or x may be zero), else
// atan(y/x) for x > 0 and ±π + atan(y/x) for x < 0, the sign that of y.
Ball atan2AtWorking(const Ball& across, const Ball& along) {
    const int bits = std::max(across.bits(), along.bits());
    if (along.unbounded() || across.unbounded()) return Ball::unboundedBall(bits);
    const bool acrossSigned = across.positive() || across.negative();
    const bool alongSigned = along.positive() || along.negative();
    Ball angle = Ball::unboundedBall(bits);
    if (isZero(across.mid()) && isZero(across.radius())) {
        if (along.positive()) angle = Ball(0.0, bits);
        if (along.negative()) angle = pi(bits);
    } else if (acrossSigned && (!alongSigned || compareMagnitudes(across.mid(), along.mid()) > 0)) {
        angle = signedHalfPi(across.negative(), bits) - atanAtWorking(along / across);
    } else if (along.positive()) {
        angle = atanAtWorking(across / along);
    } else if (along.negative() && acrossSigned) {
        const Ball halfTurn = pi(bits + ballGuardBits);
        angle = (across.negative() ? -halfTurn : halfTurn) + atanAtWorking(across / along);
    }
    return withBits(angle, bits);
}

Ball atan2(const Ball& y, const Ball& x) {
    const int resultBits = std::max(x.bits(), y.bits());
    const int bits = workingBits(resultBits);
    return withBits(atan2AtWorking(withBits(y, bits), withBits(x, bits)), resultBits);
}

namespace {

// The cosine of the arcsine, sqrt((1 - x)(1 + x)), both factors exact for a double x.
Ball cosineOfArcsine(const Ball& x) { return sqrt((one(x.bits()) - x) * (one(x.bits()) + x)); }

}  // namespace

Ball asin(const Ball& x) {
    const Ball wide = withBits(x, workingBits(x.bits()));
    return withBits(atan2AtWorking(wide, cosineOfArcsine(wide)), x.bits());
}

Ball acos(const Ball& x) {
    const Ball wide = withBits(x, workingBits(x.bits()));
    return withBits(atan2AtWorking(cosineOfArcsine(wide), wide), x.bits());
}

}  // namespace kx::real
