// The real functions on balls (see core/ball.h): each result's radius bounds the function's
// own error at the ball's precision plus the spread of the function over the argument ball.
// A ball that reaches outside a function's domain gives an unbounded ball.
#pragma once

#include "core/ball.h"

namespace kx::real {

Ball pi(int bits);
Ball ln2(int bits);
Ball ln10(int bits);

Ball exp(const Ball& x);
Ball expm1(const Ball& x);   // e^x - 1, relative to the result near 0
Ball log(const Ball& x);     // x > 0
Ball log1p(const Ball& x);   // ln(1 + x) for x > -1, relative to the result near 0

struct BallSineCosine {
    Ball sine;
    Ball cosine;
};
BallSineCosine sinCos(const Ball& x);  // any finite x, reduced exactly by π/2

struct BallSinhCosh {
    Ball sinh;
    Ball cosh;
};
BallSinhCosh sinhCosh(const Ball& x);  // sinh relative to the result near 0

Ball atan(const Ball& x);
Ball atan2(const Ball& y, const Ball& x);  // the angle of (x, y) in (-π, π]; unbounded when the ball of (x, y) may contain the origin
Ball asin(const Ball& x);   // |x| <= 1: the angle of (sqrt((1 - x)(1 + x)), x)
Ball acos(const Ball& x);   // |x| <= 1: the angle of (x, sqrt((1 - x)(1 + x)))

Ball asinh(const Ball& x);  // odd, relative to the result near 0
Ball acosh(const Ball& x);  // x >= 1, relative to the result near 1

Ball pow(const Ball& x, const Ball& y);  // e^(y·ln x) for x > 0

}  // namespace kx::real
