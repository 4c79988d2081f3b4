// The bracket depth is a 32-bit count: a line that opens more brackets than it can hold is
// refused with "Out of memory." instead of letting the count overflow. The lines are 2 GiB,
// so the test runs only when KXCALC_LARGE_TESTS is set (the CI script sets it).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kx_calc.h"
#include "tables/loader_notification.h"

namespace {

void notify(kx::LoaderReason reason) { kx::handleLoaderNotification(static_cast<std::uint32_t>(reason)); }

// kx_calc on `openings` opening brackets followed by tail, in one buffer reused between calls.
std::string textAfterBrackets(std::vector<char>& buffer, std::size_t openings, const char* tail) {
    buffer.resize(openings + std::strlen(tail) + 1);
    std::memset(buffer.data(), '(', openings);
    std::strcpy(buffer.data() + openings, tail);
    return kx_calc(buffer.data());
}

TEST(DepthLimitTest, brackets_beyond_the_largest_depth_are_refused) {
    if (std::getenv("KXCALC_LARGE_TESTS") == nullptr) GTEST_SKIP() << "needs 2 GiB lines; set KXCALC_LARGE_TESTS=1";
    constexpr std::size_t deepest = std::numeric_limits<std::int32_t>::max();
    notify(kx::LoaderReason::ProcessAttach);
    std::vector<char> buffer;
    buffer.reserve(deepest + 8);  // one allocation for both long lines
    EXPECT_EQ(textAfterBrackets(buffer, deepest, "1+2"), "3");
    EXPECT_EQ(textAfterBrackets(buffer, deepest + 1, "1+2"), "Out of memory.");
    EXPECT_EQ(textAfterBrackets(buffer, 3, "1+2"), "3");  // and the next call works
    notify(kx::LoaderReason::ProcessDetach);
}

}  // namespace
