// Replays the fuzzer's seed corpus through the exported function with the fuzz target's
// checks, so every build of the suite (the sanitizer builds included) runs those lines.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/checked_call.h"
#include "support/text_checks.h"
#include "tables/loader_notification.h"
#include "tables/symbol_tables.h"

namespace {

void notify(kx::LoaderReason reason) { kx::handleLoaderNotification(static_cast<std::uint32_t>(reason)); }

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The lines of one input: NUL bytes separate them.
std::vector<std::string> linesOf(const std::string& input) {
    std::vector<std::string> lines(1);
    for (char c : input) {
        if (c == '\0') {
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    return lines;
}

TEST(CorpusReplayTest, every_seed_keeps_the_buffer_contract) {
    std::size_t inputs = 0;
    notify(kx::LoaderReason::ProcessAttach);
    for (const auto& entry : std::filesystem::directory_iterator(KX_FUZZ_CORPUS_DIR)) {
        ++inputs;
        for (const std::string& line : linesOf(contentsOf(entry.path()))) {
            const auto outcome = kx::test::checkedCall(line, kx::symbolTables());
            EXPECT_EQ(outcome.fault, std::nullopt) << entry.path().filename() << ": " << line.substr(0, 80);
        }
        notify(kx::LoaderReason::ProcessDetach);  // each input starts from a fresh load
        notify(kx::LoaderReason::ProcessAttach);
    }
    notify(kx::LoaderReason::ProcessDetach);
    EXPECT_GT(inputs, 100u);
}

}  // namespace
