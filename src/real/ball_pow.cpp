// The power on balls, e^(y·ln x) for x > 0: ln x relative to itself at w bits, so y·ln x
// is within |y·ln x|·2^-w, which the exponential turns into a relative error of the same
// size (|y·ln x| stays below 746 wherever the result is a finite nonzero double).
#include "real/ball_kernels.h"

namespace kx::real {

Ball pow(const Ball& x, const Ball& y) {
    const int resultBits = std::max(x.bits(), y.bits());
    const int bits = workingBits(resultBits);
    const Ball logarithm = logAtWorking(withBits(x, bits));
    return withBits(expAtWorking(withBits(withBits(y, bits) * logarithm, bits)), resultBits);
}

}  // namespace kx::real
