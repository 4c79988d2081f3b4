// Differential check of the WebAssembly build's to_chars / from_chars for double
// (src/wasm/libcxx13_support.cpp) against libstdc++'s: the support unit is built natively
// under the namespace support13 and both are run over random doubles and decimal texts.
// From the repository root:
//
//   g++ -std=c++20 -O2 -ffp-contract=off -Isrc -DKXCALC_SUPPORT_NAMESPACE=support13
//       tools/libcxx13_support_check/check.cpp src/wasm/libcxx13_support.cpp -o /tmp/support_check
//   /tmp/support_check [cases per kind, default 1000000] [seed]
//
// It prints each difference (at most 20 per kind) and the counts; the exit status is 1 when
// any differs.
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace support13 {
std::to_chars_result to_chars(char* first, char* last, double value, std::chars_format format);
std::to_chars_result to_chars(char* first, char* last, double value, std::chars_format format, int precision);
std::from_chars_result from_chars(const char* first, const char* last, double& value,
                                  std::chars_format format = std::chars_format::general);
}  // namespace support13

namespace {

std::mt19937_64 random64;
long differences = 0;
long checked = 0;

void report(const char* kind, const std::string& input, const std::string& expected, const std::string& actual,
            long& shown) {
    ++differences;
    if (shown++ < 20) std::printf("%s %s: libstdc++ '%s', support '%s'\n", kind, input.c_str(), expected.c_str(), actual.c_str());
}

std::string bitsText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

void checkToChars(double value) {
    static long shownShortest = 0;
    static long shownGeneral = 0;
    char expected[512];
    char actual[512];
    ++checked;
    auto a = std::to_chars(expected, expected + sizeof expected, value, std::chars_format::scientific);
    auto b = support13::to_chars(actual, actual + sizeof actual, value, std::chars_format::scientific);
    if (std::string_view(expected, a.ptr) != std::string_view(actual, b.ptr)) {
        report("shortest", bitsText(value), std::string(expected, a.ptr), std::string(actual, b.ptr), shownShortest);
    }
    for (int precision : {15, 17}) {
        a = std::to_chars(expected, expected + sizeof expected, value, std::chars_format::general, precision);
        b = support13::to_chars(actual, actual + sizeof actual, value, std::chars_format::general, precision);
        if (std::string_view(expected, a.ptr) != std::string_view(actual, b.ptr)) {
            report(precision == 15 ? "general15" : "general17", bitsText(value), std::string(expected, a.ptr),
                   std::string(actual, b.ptr), shownGeneral);
        }
    }
}

void checkFromChars(const std::string& text) {
    static long shown = 0;
    ++checked;
    double expected = -1.0;
    double actual = -1.0;
    const auto a = std::from_chars(text.data(), text.data() + text.size(), expected);
    const auto b = support13::from_chars(text.data(), text.data() + text.size(), actual);
    if (a.ec != b.ec || a.ptr != b.ptr || std::memcmp(&expected, &actual, sizeof expected) != 0) {
        report("from_chars", text, bitsText(expected) + (a.ec == std::errc{} ? "" : " (error)"),
               bitsText(actual) + (b.ec == std::errc{} ? "" : " (error)"), shown);
    }
}

double randomBits() {
    double value;
    const std::uint64_t bits = random64();
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string randomDigits(int count) {
    std::string digits;
    for (int k = 0; k < count; ++k) digits += static_cast<char>('0' + random64() % 10);
    return digits;
}

// count digits with a point somewhere (or none) and an exponent from -350 to 350.
std::string randomDecimal() {
    const int count = 1 + static_cast<int>(random64() % 25);
    std::string text = randomDigits(count);
    if (random64() % 2 == 0) text.insert(random64() % (text.size() + 1), ".");
    if (text == ".") text = "0.5";
    const int exponent = static_cast<int>(random64() % 701) - 350;
    if (random64() % 4 != 0) text += "e" + std::to_string(exponent);
    if (random64() % 8 == 0) text = "-" + text;
    return text;
}

// The exact decimal of the midpoint between a double and the next, and texts just around it.
void checkHalfway(double value) {
    value = std::fabs(value);
    if (!std::isfinite(value)) return;
    const double next = std::nextafter(value, INFINITY);
    if (!std::isfinite(next)) return;
    const long double middle = (static_cast<long double>(value) + next) / 2;  // exact: 64-bit significand
    static char exact[1000];
    std::snprintf(exact, sizeof exact, "%.780Le", middle);  // glibc writes the exact digits
    std::string text = exact;
    const auto e = text.find('e');
    std::string mantissa = text.substr(0, e);
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
    const std::string exponent = text.substr(e);
    checkFromChars(mantissa + exponent);
    const int keep = std::min<int>(static_cast<int>(mantissa.size()), 2 + static_cast<int>(random64() % 30));
    std::string cut = mantissa.substr(0, keep);
    checkFromChars(cut + exponent);
    checkFromChars(cut + "1" + exponent);
    checkFromChars(mantissa + "1" + exponent);
}

}  // namespace

int main(int argc, char** argv) {
    const long cases = argc > 1 ? std::atol(argv[1]) : 1000000;
    random64.seed(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20261208);
    for (long k = 0; k < cases; ++k) {
        const double value = randomBits();  // every exponent, subnormals, infinities and NaNs
        if (!std::isnan(value)) checkToChars(value);
        checkToChars(std::ldexp(1.0, static_cast<int>(random64() % 2099) - 1074));  // powers of two
        checkToChars(std::nextafter(std::ldexp(1.0, static_cast<int>(random64() % 2098) - 1074), 0.0));
        // short decimals, whose shortest text is theirs
        double fromShort = 0.0;
        const std::string shortText = randomDigits(1 + static_cast<int>(random64() % 17)) + "e" +
                                      std::to_string(static_cast<int>(random64() % 651) - 330);
        std::from_chars(shortText.data(), shortText.data() + shortText.size(), fromShort);
        checkToChars(fromShort);
        checkToChars(static_cast<double>(random64() >> (random64() % 64)));  // integers
        checkFromChars(randomDecimal());
        checkFromChars(shortText);
        if (k % 8 == 0) checkHalfway(k % 16 == 0 ? value : fromShort);
    }
    for (const char* text : {"0", "0e999", "1e-400", "1e400", "2.4703282292062327e-324", "2.4703282292062328e-324",
                             "1.7976931348623158e308", "1.7976931348623159e308", "4.9e-324", "9007199254740993",
                             "123456789012345678901234567890", "0.000000000000000000000000000001e30", "1e23", "8.5e-311"}) {
        checkFromChars(text);
    }
    std::printf("%ld conversions checked, %ld differences\n", checked, differences);
    return differences == 0 ? 0 : 1;
}
