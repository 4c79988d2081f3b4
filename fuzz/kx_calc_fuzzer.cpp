// libFuzzer target for kx_calc. An input is a session: lines separated by NUL bytes (a line
// can hold no NUL), evaluated in order against the library's own tables. Every call is
// checked (same pointer back, NUL inside the buffer, nothing written past it, a well-formed
// result or message, tables changed only as the line allows, the same text twice for a line
// that assigns nothing). A session that assigned reloads the tables afterwards, so every
// input starts from the freshly loaded state and a crash reproduces from its input alone.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "support/checked_call.h"
#include "support/text_checks.h"
#include "tables/loader_notification.h"
#include "tables/symbol_tables.h"

namespace {

constexpr int maxLinesPerInput = 16;  // keeps one input's cost bounded

void reload() {
    kx::handleLoaderNotification(static_cast<std::uint32_t>(kx::LoaderReason::ProcessDetach));
    kx::handleLoaderNotification(static_cast<std::uint32_t>(kx::LoaderReason::ProcessAttach));
}

[[noreturn]] void report(std::string_view line, const kx::test::CheckedOutcome& outcome) {
    std::fprintf(stderr, "kx_calc fault: %s\n  line (%zu bytes): \"%.*s\"\n  text: \"%s\"\n", outcome.fault->c_str(),
                 line.size(), static_cast<int>(line.size() > 200 ? 200 : line.size()), line.data(),
                 outcome.text.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    kx::handleLoaderNotification(static_cast<std::uint32_t>(kx::LoaderReason::ProcessAttach));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    bool assigned = false;
    for (int lines = 0; lines < maxLinesPerInput; ++lines) {
        const std::size_t end = rest.find('\0');
        const std::string_view line = rest.substr(0, end);
        const auto outcome = kx::test::checkedCall(line, kx::symbolTables());
        if (outcome.fault) report(line, outcome);
        assigned |= kx::test::assigns(line);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    if (assigned) reload();
    return 0;
}
