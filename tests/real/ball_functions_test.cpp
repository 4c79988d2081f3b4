// The functions on balls against mpmath: each row's true value (to 256 bits, from mpmath at
// 12000 bits) lies in the ball at 128, 256 and 1024 bits, the 2560-bit midpoint lies in the
// 1024-bit ball, and each radius is below 2^-(bits-8) of the result (zero where the result
// is exact). The arguments reach the ends of the doubles: sines of the largest doubles and
// of the double nearest a multiple of π/2, subnormals, logarithms next to 1 and to -1.
// Then roundedToDouble on the rounding boundaries: ties, the subnormal grid, overflow.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/ball.h"
#include "real/ball_functions.h"

namespace {

using namespace kx;

struct BallRow {
    const char* function;
    double argument;
    double second;      // atan2's x, pow's exponent
    const char* value;  // the true value as a hexadecimal fraction of 64 digits, or "0"
    bool exact;
};

constexpr BallRow ballRows[] = {
    {"exp", 0x0.0p+0, 0.0, "0x1.0000000000000000000000000000000000000000000000000000000000000000p+0", true},
    {"exp", 0x1.62e42fefa39efp+9, 0.0, "0x1.fffffffffff2a1b0e263400d15fc52ffe0214531f13e1c39b726ee6b15555f08p+1023", false},
    {"exp", -0x1.74385446d71c3p+9, 0.0, "0x1.00000000000c72b4fd47740e0b7da35c4fec4d991fe6da78ca775a38abe08f80p-1074", false},
    {"exp", 0x0.0000000000001p-1022, 0.0, "0x1.0000000000000000000000000000000000000000000000000000000000000000p+0", false},
    {"exp", 0x1.b7cdfd9d7bdbbp-34, 0.0, "0x1.000000006df37f6776938d0c95a385d91c5cc68f04c6361c8980cfac8bc08a92p+0", false},
    {"exp", -0x1.0000000000000p-1, 0.0, "0x1.368b2fc6f9609fe7aceb46aa619baecfc68f7f15a1d015779c95d2b0c2028631p-1", false},
    {"expm1", 0x1.56e1fc2f8f359p-997, 0.0, "0x1.56e1fc2f8f359000000000000000000000000000000000000000000000000000p-997", false},
    {"expm1", -0x1.0000000000000p-30, 0.0, "-0x1.fffffffc000000055555555000000004444444416c16c16db6db6db60b60b60cp-31", false},
    {"expm1", 0x1.5c28f5c28f5c3p-2, 0.0, "0x1.9eaa94c8422f570f56fb21aa893ff3434323e9e4b1f3cf018d7ba64f0c09ef8fp-2", false},
    {"expm1", -0x1.4000000000000p+5, 0.0, "-0x1.ffffffffffffff63436db3272edeb55af5be52160bddd4e340c37fdead46546ap-1", false},
    {"log", 0x1.0000000000000p+0, 0.0, "0", true},
    {"log", 0x1.0000000000001p+0, 0.0, "0x1.fffffffffffff0000000000000aaaaaaaaaaaaa2aaaaaaaaaaab111111111111p-53", false},
    {"log", 0x1.fffffffffffffp-1, 0.0, "-0x1.0000000000000400000000000015555555555555d55555555555588888888889p-53", false},
    {"log", 0x0.0000000000001p-1022, 0.0, "-0x1.74385446d71c36395a7ea3b9e048a7759f3e47dba6625625869575ff07f9a6c6p+9", false},
    {"log", 0x1.fffffffffffffp+1023, 0.0, "0x1.62e42fefa39ef35393c7673007e5dd5e81e6864ce4dc1705bec4d95fc2009f02p+9", false},
    {"log", 0x1.4000000000000p+3, 0.0, "0x1.26bb1bbb5551582dd4adac5705a61451c51fd9f3b4bbf21d078c3d0403e05ae5p+1", false},
    {"log1p", 0x0.0000000000001p-1022, 0.0, "0x1.0000000000000000000000000000000000000000000000000000000000000000p-1074", false},
    {"log1p", -0x1.fffffffffffffp-1, 0.0, "-0x1.25e4f7b2737fa18486612173c68a68924392e737adccedbb6ca5aeaf9f532e59p+5", false},
    {"log1p", -0x1.70ef54646d497p-57, 0.0, "-0x1.70ef54646d497084ec3c97da62504f1300451dcd0e85aacf964c9222fd818efcp-57", false},
    {"log1p", 0x1.7e43c8800759cp+996, 0.0, "0x1.5963447f87fb53579980e21f9a87f1248ece6c3187f2c00a0ca59af522ffe795p+9", false},
    {"log1p", 0x1.0000000000000p-52, 0.0, "0x1.fffffffffffff0000000000000aaaaaaaaaaaaa2aaaaaaaaaaab111111111111p-53", false},
    {"sin", 0x1.fffffffffffffp+1023, 0.0, "0x1.452fc98b34e96b61139b09a7c84a44bde64f88e5abe401b3002c749ddc0ca93cp-8", false},
    {"sin", 0x1.6ac5b262ca1ffp+849, 0.0, "0x1.ffffffffffffffffffffffffffffffb53dd857865b55b667cc5bcaf8e1897f75p-1", false},
    {"sin", 0x1.0f0cf064dd592p+73, 0.0, "-0x1.b453ab76bf3970fa29bc83b9323dbc1216f7d8178cc7dc14d9052888be3ea4d7p-1", false},
    {"sin", 0x0.0000000000001p-1022, 0.0, "0x1.0000000000000000000000000000000000000000000000000000000000000000p-1074", false},
    {"sin", 0x1.921fb54442d18p+1, 0.0, "0x1.1a62633145c06e0e689481270436e2ed9fd7edfe0a77b8aff6cf88c4642ef876p-53", false},
    {"sin", -0x1.0000000000000p+1023, 0.0, "-0x1.205248cbdb75fe5a5cc94508bcaab8ea36452ebb03b8cbb054913b10becd4ad2p-1", false},
    {"cos", 0x0.0p+0, 0.0, "0x1.0000000000000000000000000000000000000000000000000000000000000000p+0", true},
    {"cos", 0x1.fffffffffffffp+1023, 0.0, "-0x1.fffe62ecfab753c071b2680e1e26bbce30f8acd5b437cc14b8aef30de59e12a3p-1", false},
    {"cos", 0x1.6ac5b262ca1ffp+849, 0.0, "-0x1.14ae72e6ba22ef4608875c41378eb0521e1aefaa2f8ad005755261783d0e2da2p-61", false},
    {"cos", 0x1.921fb54442d18p+0, 0.0, "0x1.1a62633145c06e0e6894812704419fa81376bfe700f415862a925de9d3048867p-54", false},
    {"cos", -0x1.25eed8ffb39c1p-663, 0.0, "0x1.0000000000000000000000000000000000000000000000000000000000000000p+0", false},
    {"sinh", 0x1.56e1fc2f8f359p-997, 0.0, "0x1.56e1fc2f8f359000000000000000000000000000000000000000000000000000p-997", false},
    {"sinh", -0x1.70a3d70a3d70ap-2, 0.0, "-0x1.78a7858886a4e9dae7ba2a06fe7644964c912892be2d9d775c95993a53e89065p-2", false},
    {"sinh", 0x1.5e00000000000p+9, 0.0, "0x1.d945df4f8ec8e2306724d0948dcaba2896adf77718059a31d69d3d3ade195029p+1008", false},
    {"cosh", 0x1.3333333333333p-2, 0.0, "0x1.0b9b4e0b6ec4c087fc669a5a785f3248771d657ffc7480151c9ee11596e8ce79p+0", false},
    {"cosh", -0x1.4000000000000p+4, 0.0, "0x1.ceb088b68e8040af2dac2f312d02bb913c055872417232f54bb734a77ebceee2p+27", false},
    {"atan", 0x0.0p+0, 0.0, "0", true},
    {"atan", 0x1.0000000000000p+0, 0.0, "0x1.921fb54442d18469898cc51701b839a252049c1114cf98e804177d4c76273645p-1", false},
    {"atan", -0x1.7e43c8800759cp+996, 0.0, "-0x1.921fb54442d18469898cc51701b839a252049c1114cf98e804177d4c76273645p+0", false},
    {"atan", -0x0.0000000000001p-1022, 0.0, "-0x1.0000000000000000000000000000000000000000000000000000000000000000p-1074", false},
    {"atan", 0x1.a827999fcef32p-2, 0.0, "0x1.921fb54442d180e1cc430dbc5aab6bec564862d7e4017c99b2160def43304526p-2", false},
    {"atan", 0x1.d99999999999ap+1, 0.0, "0x1.4e8c94dbf54e4abbec67b59c1ecbc0398caeafa973fa8ca7db46fc84d7a87177p+0", false},
    {"asin", 0x1.fffffffffffffp-1, 0.0, "0x1.921fb50442d18469898c9a6c570d8ef7a70d24999d58216fd5c4981e23420600p+0", false},
    {"asin", -0x0.0000000000001p-1022, 0.0, "-0x1.0000000000000000000000000000000000000000000000000000000000000000p-1074", false},
    {"acos", -0x1.fffffffffffffp-1, 0.0, "0x1.921fb52442d18469898cafc1ac62e44cfc88e0555913dd2becee0ab54cb49e22p+1", false},
    {"acos", 0x1.0000000000000p+0, 0.0, "0", true},
    {"asinh", -0x1.56e1fc2f8f359p-997, 0.0, "-0x1.56e1fc2f8f359000000000000000000000000000000000000000000000000000p-997", false},
    {"asinh", 0x1.7e43c8800759cp+996, 0.0, "0x1.59bbfd8b83e43b146f65d3f96689ea9fe66ee5d31b2c0c65236aa180d0c5bd12p+9", false},
    {"acosh", 0x1.0000000000001p+0, 0.0, "0x1.6a09e667f3bcc725fb1d3377443ae618b584a80a9a73b5d6efb4e97590f28193p-26", false},
    {"acosh", 0x1.7e43c8800759cp+996, 0.0, "0x1.59bbfd8b83e43b146f65d3f96689ea9fe66ee5d31b2c0c65236aa180d0c5bd12p+9", false},
    {"pow", 0x1.9000000000000p+4, 0x1.7000000000000p+3, "0x1.52d02c7e14af6800000000000000000000000000000000000000000000000000p+53", false},
    {"pow", 0x1.0000000000001p+0, -0x1.0000000000000p+60, "0x1.9755956ad4f67a666c90cf2eacc172954c3a75ce15d6269247a019dde444169ap-370", false},
    {"pow", 0x1.56e1fc2f8f359p-997, 0x1.199999999999ap+0, "0x1.b2a7d0c496ee6c14d872e7c6fe460b1e536de01d8eef0ac34d4b35f16a51907bp-1097", false},
    {"pow", 0x1.0000000000000p+1, -0x1.0ca0000000000p+10, "0x1.6a09e667f3bcc908b2fb1366ea957d3e3adec17512775099da2f590b0667322bp-1075", false},
    {"atan2", 0x1.0000000000000p+0, -0x1.8000000000000p+1, "0x1.68f095fdf593c2208322a54c7058ce7a99087a6e9922ea6e3bc563b312f5fa76p+1", false},
    {"atan2", -0x1.56e1fc2f8f359p-997, -0x1.0000000000000p+0, "-0x1.921fb54442d18469898cc51701b839a252049c1114cf98e804177d4c76273645p+1", false},
    {"atan2", 0x1.7e43c8800759cp+996, 0x1.56e1fc2f8f359p-997, "0x1.921fb54442d18469898cc51701b839a252049c1114cf98e804177d4c76273645p+0", false},
    {"atan2", -0x1.8000000000000p+1, 0x1.8000000000000p+1, "-0x1.921fb54442d18469898cc51701b839a252049c1114cf98e804177d4c76273645p-1", false},
    {"atan2", 0x0.0p+0, -0x1.0000000000000p+1, "0x1.921fb54442d18469898cc51701b839a252049c1114cf98e804177d4c76273645p+1", false},
    {"pi", 0x0.0p+0, 0.0, "0x1.921fb54442d18469898cc51701b839a252049c1114cf98e804177d4c76273645p+1", false},
    {"ln2", 0x0.0p+0, 0.0, "0x1.62e42fefa39ef35793c7673007e5ed5e81e6864ce5316c5b141a2eb71755f458p-1", false},
    {"ln10", 0x0.0p+0, 0.0, "0x1.26bb1bbb5551582dd4adac5705a61451c51fd9f3b4bbf21d078c3d0403e05ae5p+1", false},
    {"sqrt", 0x1.0000000000000p+1, 0.0, "0x1.6a09e667f3bcc908b2fb1366ea957d3e3adec17512775099da2f590b0667322bp+0", false},
    {"sqrt", 0x1.56e1fc2f8f359p-997, 0.0, "0x1.a2fe76a3f94750bc3881250fbe936799ff838bc2a8201782f7655620cc49721ap-499", false},
};

Ball evaluated(const BallRow& row, int bits) {
    const Ball x(row.argument, bits);
    const std::string_view name = row.function;
    if (name == "exp") return real::exp(x);
    if (name == "expm1") return real::expm1(x);
    if (name == "log") return real::log(x);
    if (name == "log1p") return real::log1p(x);
    if (name == "sin") return real::sinCos(x).sine;
    if (name == "cos") return real::sinCos(x).cosine;
    if (name == "sinh") return real::sinhCosh(x).sinh;
    if (name == "cosh") return real::sinhCosh(x).cosh;
    if (name == "atan") return real::atan(x);
    if (name == "atan2") return real::atan2(x, Ball(row.second, bits));
    if (name == "asin") return real::asin(x);
    if (name == "acos") return real::acos(x);
    if (name == "asinh") return real::asinh(x);
    if (name == "acosh") return real::acosh(x);
    if (name == "pow") return real::pow(x, Ball(row.second, bits));
    if (name == "pi") return real::pi(bits);
    if (name == "ln2") return real::ln2(bits);
    if (name == "ln10") return real::ln10(bits);
    if (name == "sqrt") return sqrt(x);
    ADD_FAILURE() << "unknown function " << name;
    return Ball::unboundedBall(bits);
}

// The row's value as a ball: the 64 hexadecimal digits ± half a unit of the last one.
Ball trueValue(const char* text) {
    const std::string_view value = text;
    if (value == "0") return Ball(0.0, ballMaxBits);
    const bool negative = value.front() == '-';
    const std::string_view digits = value.substr(negative ? 5 : 4, 64);  // after "0x1."
    std::uint32_t raw[9] = {};
    raw[8] = 1;
    for (int index = 0; index < 64; ++index) {
        const std::uint32_t digit = static_cast<std::uint32_t>(std::stoul(std::string(1, digits[index]), nullptr, 16));
        raw[7 - index / 8] |= digit << (4 * (7 - index % 8));
    }
    const int exponent = std::stoi(std::string(value.substr(value.find('p') + 1)));
    Magnitude unused;
    const BigFloat mid = normalisedFromLimbs(raw, 9, exponent - 256L, negative, bigFloatMaxLimbs, unused);
    return Ball(mid, powerOfTwoMagnitude(exponent - 257), ballMaxBits);
}

// Whether two balls share a point.
bool overlap(const Ball& a, const Ball& b) {
    const Ball difference = a - b;
    return !difference.unbounded() && !difference.positive() && !difference.negative();
}

TEST(BallFunctions, ContainTheTrueValueAndAreTight) {
    for (const BallRow& row : ballRows) {
        const Ball truth = trueValue(row.value);
        const Ball widest = evaluated(row, ballMaxBits);
        for (const int bits : {128, 256, 1024}) {
            SCOPED_TRACE(std::string(row.function) + " at " + std::to_string(bits) + " bits of " +
                         std::to_string(row.argument));
            const Ball ball = evaluated(row, bits);
            ASSERT_FALSE(ball.unbounded());
            EXPECT_TRUE(overlap(ball, truth));
            if (bits == 1024) {
                EXPECT_TRUE(overlap(ball, midpoint(widest)));
            }
            if (row.exact) {
                EXPECT_TRUE(isZero(ball.radius()));
                EXPECT_TRUE(overlap(midpoint(ball), midpoint(truth)));
            } else {
                Magnitude allowed = magnitudeDown(ball.mid());
                allowed.exponent -= bits - 8;
                EXPECT_LT(compare(ball.radius(), allowed), 0);
            }
        }
    }
}

TEST(BallFunctions, OutsideTheDomainAreUnbounded) {
    EXPECT_TRUE(real::log(Ball(-1.0, 128)).unbounded());
    EXPECT_TRUE(real::log(Ball(0.0, 128)).unbounded());
    EXPECT_TRUE(real::log1p(Ball(-1.0, 128)).unbounded());
    EXPECT_TRUE(real::atan2(Ball(0.0, 128), Ball(0.0, 128)).unbounded());
    EXPECT_TRUE(sqrt(Ball(-2.0, 128)).unbounded());
    EXPECT_TRUE((Ball(1.0, 128) / Ball(0.0, 128)).unbounded());
    EXPECT_TRUE(real::exp(Ball(0x1p40, 128)).unbounded());
}

struct RoundingRow {
    double high;  // the midpoint is (high + low)·2^scale, the radius radius·2^scale, exactly
    double low;
    double radius;
    int scale;
    std::optional<double> rounded;
};

// Units of the subnormal grid.
constexpr int subnormal = -1074;

const RoundingRow roundingRows[] = {
    {1.0, 0.0, 0.0, 0, 1.0},
    {1.0, 0x1p-53, 0.0, 0, 1.0},  // a tie goes to the even neighbour
    {1.0, 0x1p-53, 0x1p-200, 0, std::nullopt},
    {0x1.0000000000001p+0, 0x1p-53, 0.0, 0, 0x1.0000000000002p+0},
    {1.0, -0x1p-54, 0.0, 0, 1.0},  // below 1 the spacing halves
    {1.0, -0x1.0000000000001p-54, 0.0, 0, 0x1.fffffffffffffp-1},
    {-0x1.0000000000001p+0, -0x1p-53, 0.0, 0, -0x1.0000000000002p+0},
    {-0x1.0000000000001p+0, -0x1p-53, 0x1p-120, 0, std::nullopt},
    {1.5, 0.0, 0.0, subnormal, 0x1p-1073},  // 1.5 units to the even 2
    {2.5, 0.0, 0.0, subnormal, 0x1p-1073},  // 2.5 units to the even 2
    {0.5, 0.0, 0.0, subnormal, 0.0},        // half the smallest, to +0
    {0.5, 0x1p-100, 0.0, subnormal, 0x1p-1074},
    {0.25, 0.0, 0.125, subnormal, 0.0},
    {-0.25, 0.0, 0.125, subnormal, -0.0},
    {0x1p52, -0x1p-2, 0x1p-6, subnormal, 0x1p-1022},
    {0.5, 0.0, 0x1p-100, subnormal, std::nullopt},
    {0x1.fffffffffffffp+1023, 0x1p970, 0.0, 0, INFINITY},  // halfway to 2^1024 overflows
    {0x1.fffffffffffffp+1023, 0x1.fffffffffffffp969, 0.0, 0, 0x1.fffffffffffffp+1023},
    {0x1.fffffffffffffp+1023, 0x1p970, 0x1p900, 0, std::nullopt},
    {-0x1.fffffffffffffp+1023, -0x1p1000, 0.0, 0, -INFINITY},
    {1.0, 0.0, 0.0, 1100, INFINITY},
    {0x1p-1000, 0.0, 0x1p-1000, 0, std::nullopt},  // reaches zero
};

TEST(BallFunctions, RoundToTheNearestDoubleOnlyWhenEveryPointDoes) {
    for (const RoundingRow& row : roundingRows) {
        SCOPED_TRACE(std::to_string(row.high) + " + " + std::to_string(row.low));
        const Ball exact = scaled(Ball(row.high, ballMaxBits) + Ball(row.low, ballMaxBits), row.scale);
        ASSERT_TRUE(isZero(exact.radius()));
        const std::optional<double> rounded = roundedToDouble(widened(exact, magnitudeUp(row.radius, row.scale)));
        ASSERT_EQ(rounded.has_value(), row.rounded.has_value());
        if (rounded) {
            EXPECT_EQ(*rounded, *row.rounded);
            EXPECT_EQ(std::signbit(*rounded), std::signbit(*row.rounded));
        }
    }
}

TEST(BallFunctions, RoundedByBallsTakesMoreBitsUntilTheRoundingIsDecided) {
    // 1 + 2^-53 + 2^-300/3: above the tie by less than a 128- or 256-bit ball can tell.
    int calls = 0;
    const double rounded = roundedByBalls([&](int bits) {
        ++calls;
        const Ball tiny = Ball(0x1p-300, bits) / Ball(3.0, bits);
        return Ball(1.0, bits) + Ball(0x1p-53, bits) + tiny;
    });
    EXPECT_EQ(rounded, 0x1.0000000000001p+0);
    EXPECT_EQ(calls, 3);
}

}  // namespace
