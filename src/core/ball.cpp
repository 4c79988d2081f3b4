// Ball arithmetic (see ball.h). Each operation forms its midpoint with the BigFloat operation
// of the same name, at the larger precision of its operands, and its radius as an upper
// bound of the operands' radii carried through the operation plus the midpoint's truncation:
//   (a ± b):  ra + rb
//   (a · b):  |ma|·rb + |mb|·ra + ra·rb
//   (a / b):  (ra + |ma/mb|·rb) / (|mb| - rb)
//   sqrt a:   ra / (2·sqrt(|ma| - ra))   (a above zero)
#include "core/ball.h"

#include <cmath>

namespace kx {

namespace {

bool exponentInRange(long exponent) { return exponent >= -ballExponentLimit && exponent <= ballExponentLimit; }

int clampedBits(int bits) { return std::clamp(bits, 32, ballLimitBits); }


}  // namespace

Ball::Ball(double x, int bits)
    : representation_{bigFloatFromDouble(std::isfinite(x) ? x : 0.0), zeroMagnitude, clampedBits(bits),
                      !std::isfinite(x)} {}

Ball::Ball(const BigFloat& mid, Magnitude radius, int bits)
    : representation_{mid, radius, clampedBits(bits), false} {
    if (!isZero(mid) && !exponentInRange(mid.exponent)) representation_.unbounded = true;
    if (!isZero(radius)) {
        if (radius.exponent > ballExponentLimit) representation_.unbounded = true;
        if (radius.exponent < -ballExponentLimit) representation_.radius = powerOfTwoMagnitude(-ballExponentLimit);
    }
}

Ball Ball::unboundedBall(int bits) {
    Ball ball(0.0, bits);
    ball.representation_.unbounded = true;
    return ball;
}

int Ball::bits() const { return representation_.bits; }

bool Ball::unbounded() const { return representation_.unbounded; }

bool Ball::positive() const {
    if (unbounded() || isZero(mid()) || mid().negative) return false;
    return compareMagnitudes(mid(), bigFloatFromMagnitude(radius())) > 0;
}

bool Ball::negative() const {
    if (unbounded() || isZero(mid()) || !mid().negative) return false;
    return compareMagnitudes(mid(), bigFloatFromMagnitude(radius())) > 0;
}

Ball operator-(const Ball& a) {
    if (a.unbounded()) return a;
    return Ball(negated(a.mid()), a.radius(), a.bits());
}

Ball operator+(const Ball& a, const Ball& b) {
    const int bits = std::max(a.bits(), b.bits());
    if (a.unbounded() || b.unbounded()) return Ball::unboundedBall(bits);
    Magnitude error;
    const BigFloat mid = sum(a.mid(), b.mid(), limbsFor(bits), error);
    return Ball(mid, addUp(addUp(a.radius(), b.radius()), error), bits);
}

Ball operator-(const Ball& a, const Ball& b) { return a + (-b); }

Ball operator*(const Ball& a, const Ball& b) {
    const int bits = std::max(a.bits(), b.bits());
    if (a.unbounded() || b.unbounded()) return Ball::unboundedBall(bits);
    Magnitude error;
    const BigFloat mid = product(a.mid(), b.mid(), limbsFor(bits), error);
    const Magnitude spread = addUp(addUp(multiplyUp(magnitudeUp(a.mid()), b.radius()),
                                         multiplyUp(magnitudeUp(b.mid()), a.radius())),
                                   multiplyUp(a.radius(), b.radius()));
    return Ball(mid, addUp(spread, error), bits);
}

Ball operator/(const Ball& a, const Ball& b) {
    const int bits = std::max(a.bits(), b.bits());
    if (a.unbounded() || !(b.positive() || b.negative())) return Ball::unboundedBall(bits);
    Magnitude error;
    const BigFloat mid = quotient(a.mid(), b.mid(), limbsFor(bits), error);
    if (isZero(a.radius()) && isZero(b.radius())) return Ball(mid, error, bits);
    const Magnitude ratio = addUp(magnitudeUp(mid), error);
    const Magnitude divisor = subtractDown(magnitudeDown(b.mid()), b.radius());
    if (isZero(divisor)) return Ball::unboundedBall(bits);
    const Magnitude spread = divideUp(addUp(a.radius(), multiplyUp(ratio, b.radius())), divisor);
    return Ball(mid, addUp(spread, error), bits);
}

Ball operator/(const Ball& a, std::uint32_t divisor) {
    if (a.unbounded()) return a;
    Magnitude error;
    const BigFloat mid = quotient(a.mid(), divisor, limbsFor(a.bits()), error);
    const Magnitude spread = divideUp(a.radius(), magnitudeUp(static_cast<double>(divisor)));
    return Ball(mid, addUp(spread, error), a.bits());
}

Ball abs(const Ball& a) {
    if (a.unbounded()) return a;
    return Ball(absolute(a.mid()), a.radius(), a.bits());  // covers [0, |mid| + r] too
}

Ball sqrt(const Ball& a) {
    const int bits = a.bits();
    if (a.unbounded() || a.negative()) return Ball::unboundedBall(bits);
    if (isZero(a.mid()) && isZero(a.radius())) return a;
    if (!a.positive()) {
        // The part at or above zero is [0, u]: sqrt of it is the ball sqrt(u)/2 ± sqrt(u)/2.
        const Magnitude top = a.mid().negative ? a.radius() : addUp(magnitudeUp(a.mid()), a.radius());
        Magnitude half = squareRootUp(top);
        half.exponent -= 1;
        return Ball(bigFloatFromMagnitude(half), half, bits);
    }
    Magnitude error;
    const BigFloat mid = squareRoot(a.mid(), limbsFor(bits), error);
    if (isZero(a.radius())) return Ball(mid, error, bits);
    Magnitude twiceLowerRoot = squareRootDown(subtractDown(magnitudeDown(a.mid()), a.radius()));
    twiceLowerRoot.exponent += 1;
    return Ball(mid, addUp(divideUp(a.radius(), twiceLowerRoot), error), bits);
}

Ball scaled(const Ball& a, int exponent) {
    if (a.unbounded()) return a;
    BigFloat mid = a.mid();
    Magnitude radius = a.radius();
    const long midExponent = static_cast<long>(mid.exponent) + exponent;
    const long radiusExponent = static_cast<long>(radius.exponent) + exponent;
    if ((!isZero(mid) && !exponentInRange(midExponent)) || (!isZero(radius) && radiusExponent > ballExponentLimit))
        return Ball::unboundedBall(a.bits());
    if (!isZero(mid)) mid.exponent = static_cast<int>(midExponent);
    if (!isZero(radius)) radius.exponent = static_cast<int>(std::max<long>(radiusExponent, -ballExponentLimit));
    return Ball(mid, radius, a.bits());
}

Ball withBits(const Ball& a, int bits) {
    if (a.unbounded()) return Ball::unboundedBall(bits);
    Magnitude error;
    const BigFloat mid = truncated(a.mid(), limbsFor(bits), error);
    return Ball(mid, addUp(a.radius(), error), bits);
}

Ball widened(const Ball& a, Magnitude extra) {
    if (a.unbounded()) return a;
    return Ball(a.mid(), addUp(a.radius(), extra), a.bits());
}

Ball midpoint(const Ball& a) {
    if (a.unbounded()) return a;
    return Ball(a.mid(), zeroMagnitude, a.bits());
}

Magnitude magnitudeUp(const Ball& a) { return addUp(magnitudeUp(a.mid()), a.radius()); }

Magnitude magnitudeDown(const Ball& a) { return subtractDown(magnitudeDown(a.mid()), a.radius()); }

namespace {

// integer·2^exponent as a BigFloat, for integer < 2^64.
BigFloat gridValue(std::uint64_t integer, long exponent) {
    const std::uint32_t raw[2] = {static_cast<std::uint32_t>(integer), static_cast<std::uint32_t>(integer >> 32)};
    Magnitude unused;
    return normalisedFromLimbs(raw, 2, exponent, false, 2, unused);
}

// Whether (boundary - value)·direction exceeds radius (or equals it, when inclusive): the
// difference formed with its own error bound, which then counts against it.
bool clearOf(const BigFloat& value, const BigFloat& boundary, int direction, Magnitude radius, bool inclusive) {
    Magnitude error;
    const BigFloat difference = direction > 0 ? sum(boundary, negated(value), value.count + 4, error)
                                              : sum(value, negated(boundary), value.count + 4, error);
    if (!isZero(difference) && difference.negative) return false;
    const int order = compareMagnitudes(difference, bigFloatFromMagnitude(addUp(radius, error)));
    return inclusive ? order >= 0 : order > 0;
}

}  // namespace

std::optional<double> roundedToDouble(const Ball& a) {
    if (a.unbounded()) return std::nullopt;
    const BigFloat& mid = a.mid();
    if (isZero(mid)) return isZero(a.radius()) ? std::optional<double>(0.0) : std::nullopt;
    const BigFloat value = absolute(mid);
    if (compareMagnitudes(value, bigFloatFromMagnitude(a.radius())) <= 0) return std::nullopt;
    const double sign = mid.negative ? -1.0 : 1.0;
    const GridPoint point = nearestGridPoint(value);
    if (point.overflow) {
        // Every point at or above 2^1024·(1 - 2^-54), halfway from the largest double to
        // 2^1024, rounds to infinity (the tie goes to the even 2^1024).
        const BigFloat threshold = gridValue((std::uint64_t{1} << 54) - 1, 970);
        if (!clearOf(value, threshold, -1, a.radius(), true)) return std::nullopt;
        return sign * std::numeric_limits<double>::infinity();
    }
    const std::uint64_t integer = point.integer;
    const bool inclusive = (integer & 1u) == 0;  // a tie rounds to the even neighbour
    if (!clearOf(value, gridValue(2 * integer + 1, point.exponent - 1L), 1, a.radius(), inclusive)) return std::nullopt;
    if (integer > 0) {
        // Below a normal power of two the spacing halves.
        const bool spacingHalves = integer == (std::uint64_t{1} << 52) && point.exponent > -1074;
        const BigFloat lower = spacingHalves ? gridValue(4 * integer - 1, point.exponent - 2L)
                                             : gridValue(2 * integer - 1, point.exponent - 1L);
        if (!clearOf(value, lower, -1, a.radius(), inclusive)) return std::nullopt;
    }
    return sign * nearestDouble(value);
}

double midpointRounded(const Ball& a) {
    if (a.unbounded()) return std::numeric_limits<double>::quiet_NaN();
    return nearestDouble(a.mid());
}

}  // namespace kx
