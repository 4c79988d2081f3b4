// The real functions on double-double balls (core/double_double_ball.h), from the fast
// double-double kernels of log.h and inverse_circular.h and their stated error bounds, and
// the rounding test of a ball: the fast paths of the correctly rounded complex functions.
#pragma once

#include "core/double_double_ball.h"

namespace kx::real {

DoubleDoubleBall log(const DoubleDoubleBall& a);    // unbounded unless the ball is above 0
DoubleDoubleBall log1p(const DoubleDoubleBall& a);  // ln(1 + a), unbounded unless the ball is above -1
// The angle of (x, y) in [0, π] for y >= 0 (its ball's mid at least zero, else unbounded)
// and any x.
DoubleDoubleBall atan2(const DoubleDoubleBall& y, const DoubleDoubleBall& x);
DoubleDoubleBall hypot(const DoubleDoubleBall& a, const DoubleDoubleBall& b);  // sqrt(a² + b²)

// π/2, π and ln 2 as balls.
DoubleDoubleBall halfPiBall();
DoubleDoubleBall piBall();
DoubleDoubleBall lnTwoBall();

// Whether every point of the ball rounds to the same double, of magnitude between 2^-1021
// and 2^1000 (smaller and larger values are left undecided); that double into result.
bool roundsToOneDouble(const DoubleDoubleBall& a, double& result);

}  // namespace kx::real
