// The interactive host's source of lines: GNU readline with completion and a history file
// when the host is built with it, otherwise a prompt and a plain read of standard input.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "name_completer.h"

namespace kxcalc {

class LineReader {
public:
    virtual ~LineReader() = default;

    // The next line without its line end, or none at the end of input (Ctrl-D).
    virtual std::optional<std::string> readLine(const std::string& prompt) = 0;

    // Adds a line to the history of this and later sessions.
    virtual void remember(const std::string& line) = 0;

    // Whether Tab and the history keys work (for the help text and the man page's promise).
    virtual bool edits() const = 0;
};

// The reader for a session on a terminal. `completer` must outlive the reader; a
// `historyFile` that cannot be used is reported once on standard error and then ignored.
std::unique_ptr<LineReader> makeTerminalReader(const NameCompleter& completer,
                                               std::optional<std::filesystem::path> historyFile);

}  // namespace kxcalc
