// A host that switches to a comma-decimal locale still gets the library's own texts:
// numbers are read and written without the locale.
#include <clocale>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "kx_calc.h"

namespace {

std::string calc(std::string line) {
    line.resize(std::max<std::size_t>(64, line.size() + 1), '\0');
    return kx_calc(line.data());
}

TEST(locale, comma_decimal_locale_does_not_change_texts) {
    const char* chosen = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (chosen == nullptr) {
        if (std::getenv("CI") != nullptr) FAIL() << "the de_DE.UTF-8 locale is not available";
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not available";
    }
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");  // the locale really is in force
    EXPECT_EQ(calc("1/2"), "0.5");
    EXPECT_EQ(calc("2.5*i"), "2.5i");
    EXPECT_EQ(calc("1e20"), "1e+020");
    EXPECT_EQ(calc("1.5e-7+0.25*i"), "1.5e-007+0.25i");
    EXPECT_EQ(calc("1,5"), "Syntax Error: 5");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
