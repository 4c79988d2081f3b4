// The inverse hyperbolic sine and cosine on balls, as log1p of an argument formed without
// cancellation, so that the error stays relative to the result near 0 and near 1:
//   asinh x = ±log1p(d), d = a + a²/(1 + sqrt(1 + a²)), a = |x| (signed as x's midpoint:
//             asinh is odd, so the ball of -x negated covers x's);
//   acosh x = log1p(t + sqrt(t·(t + 2))), t = x - 1 (exact for a double x).
#include "real/ball_kernels.h"

namespace kx::real {

Ball asinh(const Ball& x) {
    const int bits = workingBits(x.bits());
    const Ball a = abs(withBits(x, bits));
    const Ball square = a * a;
    const Ball d = a + square / (one(bits) + sqrt(one(bits) + square));
    const Ball magnitude = log1pAtWorking(d);
    return withBits(x.mid().negative ? -magnitude : magnitude, x.bits());
}

Ball acosh(const Ball& x) {
    const int bits = workingBits(x.bits());
    const Ball t = withBits(x, bits) - one(bits);
    if (t.negative()) return Ball::unboundedBall(x.bits());
    return withBits(log1pAtWorking(t + sqrt(t * (t + Ball(2.0, bits)))), x.bits());
}

}  // namespace kx::real
