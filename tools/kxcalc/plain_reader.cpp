// The terminal reader without line editing: a prompt, then a line of standard input. It
// keeps no history and completes nothing.
#include <iostream>

#include "line_reader.h"

namespace kxcalc {

namespace {

class PlainReader final : public LineReader {
public:
    std::optional<std::string> readLine(const std::string& prompt) override {
        std::cout << prompt << std::flush;
        std::string line;
        if (!std::getline(std::cin, line)) return std::nullopt;
        return line;
    }

    void remember(const std::string& /*line*/) override {}

    bool edits() const override { return false; }
};

}  // namespace

std::unique_ptr<LineReader> makeTerminalReader(const NameCompleter& /*completer*/,
                                               std::optional<std::filesystem::path> /*historyFile*/) {
    return std::make_unique<PlainReader>();
}

}  // namespace kxcalc
