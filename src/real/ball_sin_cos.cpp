// The sine and cosine on balls.
//
// Reduction: for |x| >= 0.78, x = M·2^unit (M the midpoint's integer) times the bits of 2/π
// from the generated table, in integers: the bits of weight above 2^(2 - unit) give
// multiples of 4 and are left out, the product is exact, and the bits of 2/π beyond the
// last one taken (bit exponent + w + 32·limbs + 72) add less than 2^(exponent - that bit).
// Its bits of weight 2 and 1 are the quadrant, the rest the fraction f, taken in [-1/2, 1/2)
// (the quadrant rounded); r = f·π/2 with |r| <= π/4, whatever cancellation the product
// had, to w bits of its own. The radius of x goes to r unchanged.
//
// Kernel: u = r·2^-s with |u| < 2^-h, h about sqrt(w/4); sin u and the versine
// 1 - cos u = u²/2! - u⁴/4! + ... by their Taylor series on balls, N terms each, the
// tails (at most twice their first terms, the ratios being below 1/2) in the radius; then
// s doublings sin 2v = 2 sin v (1 - ver v), ver 2v = 2 sin² v, both relative to their
// results; cos r = 1 - ver r >= 0.7.
#include <cstdint>
#include <iterator>

#include "real/ball_kernels.h"
#include "real/tables.h"

namespace kx::real {

namespace {

constexpr int tableWords = static_cast<int>(std::size(tables::twoOverPiBits));
constexpr long largestReducedExponent = 1024;
// The bits of 2/π an argument of exponent 1024 and the widest midpoint needs.
static_assert(32L * tableWords >= largestReducedExponent + 2L * ballLimitBits + 72 + 32);

constexpr int maximumTerms = 1000;

long floorDivide(long value, long divisor) {
    const long quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

bool bitAt(const std::uint32_t* limbs, int count, long position) {
    return position < 32L * count && ((limbs[position / 32] >> (position % 32)) & 1u) != 0;
}

struct BallReduction {
    bool bounded;
    int quadrant;
    Ball remainder;
};

// |mid| = (quadrant + remainder/(π/2)) mod 4, with the ball's radius added to the remainder.
BallReduction reducedByHalfPi(const Ball& x) {
    const int bits = x.bits();
    const BigFloat& mid = x.mid();
    const long exponent = mid.exponent;
    const long unit = exponent - 32L * mid.count;
    const long lastBit = exponent + bits + 32L * mid.count + 72;
    const long firstWord = std::max(0L, floorDivide(unit - 2, 32) - 1);
    const long lastWord = (lastBit + 31) / 32 - 1;
    if (exponent > largestReducedExponent || lastWord >= tableWords) return {false, 0, x};
    const int chunkCount = static_cast<int>(lastWord - firstWord + 1);
    std::uint32_t chunk[tableWords];
    for (int index = 0; index < chunkCount; ++index) chunk[chunkCount - 1 - index] = tables::twoOverPiBits[firstWord + index];
    // product = M·chunk, of value product·2^(unit - 32·(lastWord + 1)): `point` bits of fraction.
    std::uint32_t product[bigFloatMaxLimbs + tableWords];
    const int productCount = mid.count + chunkCount;
    std::fill(product, product + productCount, 0u);
    for (int i = 0; i < mid.count; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < chunkCount; ++j) {
            const std::uint64_t total = static_cast<std::uint64_t>(mid.limbs[i]) * chunk[j] + product[i + j] + carry;
            product[i + j] = static_cast<std::uint32_t>(total);
            carry = total >> 32;
        }
        product[i + chunkCount] = static_cast<std::uint32_t>(carry);
    }
    const long point = 32L * (lastWord + 1) - unit;  // > 64: lastBit - unit > bits
    int quadrant = (bitAt(product, productCount, point) ? 1 : 0) + (bitAt(product, productCount, point + 1) ? 2 : 0);
    const bool roundedUp = bitAt(product, productCount, point - 1);
    // The fraction: the low `point` bits, or 2^point minus them when the quadrant rounds up.
    const int fractionCount = static_cast<int>((point + 31) / 32);
    if (point % 32 != 0) product[fractionCount - 1] &= (std::uint32_t{1} << (point % 32)) - 1;
    if (roundedUp) {
        ++quadrant;
        std::uint64_t borrow = 0;
        for (int index = 0; index < fractionCount; ++index) {
            const std::uint64_t difference = 0 - static_cast<std::uint64_t>(product[index]) - borrow;
            product[index] = static_cast<std::uint32_t>(difference);
            borrow = (difference >> 32) & 1;
        }
        if (point % 32 != 0) product[fractionCount - 1] &= (std::uint32_t{1} << (point % 32)) - 1;
    }
    Magnitude error;
    const BigFloat fraction = normalisedFromLimbs(product, fractionCount, -point, roundedUp, limbsFor(bits), error);
    const Magnitude neglected = powerOfTwoMagnitude(static_cast<int>(exponent - 32L * (lastWord + 1)));
    const Ball scaledRemainder(fraction, addUp(error, neglected), bits);
    const Ball remainder = withBits(scaledRemainder * halfPi(bits + ballGuardBits), bits);
    return {true, quadrant & 3, widened(remainder, x.radius())};
}

}  // namespace

BallSineCosine sinCosReduced(const Ball& r) {
    const int bits = r.bits();
    if (r.unbounded()) return {r, r};
    if (isZero(r.mid()) && isZero(r.radius())) return {r, one(bits)};
    const int halvings = std::max(0, magnitudeUp(r).exponent + 1 + halvingTarget(bits, 4));
    const Ball u = scaled(r, -halvings);
    const Ball square = u * u;
    const Magnitude size = magnitudeUp(u);
    const Magnitude sizeSquared = multiplyUp(size, size);
    const Magnitude sineLimit = multiplyUp(size, powerOfTwoMagnitude(-(bits + 4)));
    const Magnitude versineLimit = multiplyUp(sizeSquared, powerOfTwoMagnitude(-(bits + 4)));
    // Bounds of the first omitted terms |u|^(2N+3)/(2N+3)! and |u|^(2N+4)/(2N+4)!.
    int terms = 0;
    const auto nextTerm = [&](Magnitude term, int first) {
        return divideUp(multiplyUp(term, sizeSquared), magnitudeUp(static_cast<double>(first) * (first + 1)));
    };
    Magnitude nextSine = nextTerm(size, 2);
    Magnitude nextVersine = nextTerm(divideUp(sizeSquared, magnitudeUp(2.0)), 3);
    while ((compare(nextSine, sineLimit) > 0 || compare(nextVersine, versineLimit) > 0) && terms < maximumTerms) {
        ++terms;
        nextSine = nextTerm(nextSine, 2 * terms + 2);
        nextVersine = nextTerm(nextVersine, 2 * terms + 3);
    }
    Ball sine = one(bits);
    Ball versine = one(bits);
    for (int index = terms; index >= 1; --index) {
        sine = one(bits) - (sine * square) / static_cast<std::uint32_t>((2 * index) * (2 * index + 1));
        versine = one(bits) - (versine * square) / static_cast<std::uint32_t>((2 * index + 1) * (2 * index + 2));
    }
    nextSine.exponent += 1;
    nextVersine.exponent += 1;
    sine = widened(sine * u, nextSine);
    versine = widened(scaled(versine * square, -1), nextVersine);
    for (int step = 0; step < halvings; ++step) {
        const Ball doubledVersine = scaled(sine * sine, 1);
        sine = scaled(sine * (one(bits) - versine), 1);
        versine = doubledVersine;
    }
    return {sine, one(bits) - versine};
}

BallSineCosine sinCos(const Ball& x) {
    const int bits = workingBits(x.bits());
    const Ball wide = withBits(x, bits);
    if (wide.unbounded()) return {wide, wide};
    BallSineCosine result{wide, wide};
    if (compare(magnitudeUp(wide), magnitudeUp(0.78)) < 0) {
        result = sinCosReduced(wide);
    } else {
        const BallReduction reduction = reducedByHalfPi(abs(wide));
        if (!reduction.bounded) return {Ball::unboundedBall(x.bits()), Ball::unboundedBall(x.bits())};
        const BallSineCosine reduced = sinCosReduced(reduction.remainder);
        switch (reduction.quadrant) {
            case 0: result = reduced; break;
            case 1: result = {reduced.cosine, -reduced.sine}; break;
            case 2: result = {-reduced.sine, -reduced.cosine}; break;
            default: result = {-reduced.cosine, reduced.sine}; break;
        }
        if (wide.mid().negative) result.sine = -result.sine;
    }
    return {withBits(result.sine, x.bits()), withBits(result.cosine, x.bits())};
}

}  // namespace kx::real
