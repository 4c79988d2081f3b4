// The kernels of the real functions on balls (ball_functions.h), shared between their
// files. A kernel computes at its argument's precision w (the public functions give it
// their own precision plus ballGuardBits, and round its result back); constants are taken
// at w + ballGuardBits.
#pragma once

#include <algorithm>

#include "real/ball_functions.h"

namespace kx::real {

inline int workingBits(int bits) { return std::min(bits + ballGuardBits, ballLimitBits - ballGuardBits); }

// A series' argument is halved until it is below 2^-halvingTarget(w): about sqrt(w/2)
// halvings balance the series' terms against the doublings that undo them.
inline int halvingTarget(int bits, int divisor) {
    int target = 1;
    while (target * target * divisor < bits) ++target;
    return target;
}

inline Ball one(int bits) { return Ball(1.0, bits); }
inline Ball halfPi(int bits) { return scaled(pi(bits), -1); }

Ball expm1Reduced(const Ball& t);          // |t| <= 1
Ball expAtWorking(const Ball& x);          // any x (unbounded beyond |x| = 2^29)
Ball log1pReduced(const Ball& d);          // -1/4 <= d <= 1/2 or so
Ball logAtWorking(const Ball& x);          // x > 0
Ball log1pAtWorking(const Ball& d);        // d > -1
BallSineCosine sinCosReduced(const Ball& r);  // |r| <= 1
Ball atanAtWorking(const Ball& x);         // any x
Ball atan2AtWorking(const Ball& y, const Ball& x);

}  // namespace kx::real
