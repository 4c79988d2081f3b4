// The exponential family on balls: expm1, exp, sinh and cosh.
//
// expm1 of a reduced t (|t| <= 1): u = t·2^-s with |u| < 2^-h, h about sqrt(w/2); the Taylor
// series u + u²/2! + ... + u^N/N! by Horner on balls, N the first index whose next term
// bound |u|^(N+1)/(N+1)! is below 2^-(w+4)·|u|; the tail, at most twice that term (each
// further ratio |u|/(n+1) is below 1/2), added to the radius; then s doublings
// e^(2v) - 1 = E·(E + 2), which keep the relative error of E (E + 2 is near 2).
// exp x = 2^k·(1 + expm1(x - k·ln 2)) with k the integer nearest x/ln 2, for |x| < 2^29.
#include <cstdint>

#include "real/ball_kernels.h"
#include "real/double_bits.h"
#include "real/tables.h"

namespace kx::real {

namespace {

constexpr int maximumTerms = 2000;

// Whether |x| < 0.35 over the whole ball: then no reduction by ln 2 is needed.
bool small(const Ball& x) { return compare(magnitudeUp(x), magnitudeUp(0.35)) < 0; }

}  // namespace

Ball expm1Reduced(const Ball& t) {
    const int bits = t.bits();
    if (t.unbounded() || (isZero(t.mid()) && isZero(t.radius()))) return t;
    const int halvings = std::max(0, magnitudeUp(t).exponent + 1 + halvingTarget(bits, 2));
    const Ball u = scaled(t, -halvings);
    const Magnitude size = magnitudeUp(u);
    const Magnitude limit = multiplyUp(size, powerOfTwoMagnitude(-(bits + 4)));
    int terms = 1;
    Magnitude next = divideUp(multiplyUp(size, size), magnitudeUp(2.0));
    while (compare(next, limit) > 0 && terms < maximumTerms) {
        ++terms;
        next = divideUp(multiplyUp(next, size), magnitudeUp(static_cast<double>(terms + 1)));
    }
    Ball sum = one(bits);
    for (int index = terms; index >= 2; --index) sum = one(bits) + (sum * u) / static_cast<std::uint32_t>(index);
    Magnitude tail = next;
    tail.exponent += 1;
    Ball result = widened(sum * u, tail);
    for (int step = 0; step < halvings; ++step) result = result * (result + Ball(2.0, bits));
    return result;
}

Ball expAtWorking(const Ball& x) {
    const int bits = x.bits();
    if (x.unbounded()) return x;
    if (small(x)) return one(bits) + expm1Reduced(x);
    if (magnitudeUp(x).exponent >= 29) return Ball::unboundedBall(bits);
    const double k = nearestInteger(midpointRounded(x) * tables::inverseLnTwo);
    const Ball reduced = withBits(x - Ball(k, bits) * ln2(bits + ballGuardBits), bits);
    return scaled(one(bits) + expm1Reduced(reduced), static_cast<int>(k));
}

Ball exp(const Ball& x) {
    const Ball wide = withBits(x, workingBits(x.bits()));
    return withBits(expAtWorking(wide), x.bits());
}

Ball expm1(const Ball& x) {
    const Ball wide = withBits(x, workingBits(x.bits()));
    const Ball result = small(wide) ? expm1Reduced(wide) : expAtWorking(wide) - one(wide.bits());
    return withBits(result, x.bits());
}

// Near 0, sinh x = (E + E/(1 + E))/2 and cosh x = 1 + E²/(2(1 + E)) with E = expm1 x, both
// relative to the result; elsewhere (e^x ∓ e^-x)/2, whose terms cancel by at most a factor 3.
BallSinhCosh sinhCosh(const Ball& x) {
    const int bits = workingBits(x.bits());
    const Ball wide = withBits(x, bits);
    if (small(wide)) {
        const Ball e = expm1Reduced(wide);
        const Ball onePlus = one(bits) + e;
        const Ball sinh = scaled(e + e / onePlus, -1);
        const Ball cosh = one(bits) + scaled(e * e / onePlus, -1);
        return {withBits(sinh, x.bits()), withBits(cosh, x.bits())};
    }
    const Ball e = expAtWorking(wide);
    const Ball inverse = one(bits) / e;
    return {withBits(scaled(e - inverse, -1), x.bits()), withBits(scaled(e + inverse, -1), x.bits())};
}

}  // namespace kx::real
