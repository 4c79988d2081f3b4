// The terminal reader on GNU readline: line editing, Tab completion of the calculator's
// names and a history file shared by the user's sessions.
#include <cerrno>
#include <cstdio>  // readline's headers use FILE without including it
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include <readline/history.h>
#include <readline/readline.h>

#include "history_file.h"
#include "line_reader.h"

namespace kxcalc {

namespace {

// Names end at anything that is not a letter, so "2*si" completes "si".
constexpr const char* wordBreaks = " \t\n()[]{}+-*/%^=,;0123456789.";

// readline's completion hooks are plain C callbacks with no user pointer; this is how they
// reach the completer of the one session that is reading, for the duration of its reads.
struct CompletionState {
    const NameCompleter* completer = nullptr;
    std::vector<std::string> matches;
    std::size_t next = 0;
};
CompletionState* activeCompletion = nullptr;

char* nextMatch(const char* text, int state) {
    CompletionState& completion = *activeCompletion;
    if (state == 0) {
        completion.matches = completion.completer->candidates(text);
        completion.next = 0;
    }
    if (completion.next >= completion.matches.size()) return nullptr;
    return strdup(completion.matches[completion.next++].c_str());  // readline frees it
}

char** completeName(const char* text, int /*start*/, int /*end*/) {
    rl_attempted_completion_over = 1;  // never fall back to file names
    char** matches = rl_completion_matches(text, nextMatch);
    const bool oneFunction = matches != nullptr && matches[1] == nullptr && isFunctionName(matches[0]);
    rl_completion_append_character = oneFunction ? '(' : '\0';
    return matches;
}

class ReadlineReader final : public LineReader {
public:
    ReadlineReader(const NameCompleter& completer, std::optional<std::filesystem::path> historyFile)
        : historyFile_(std::move(historyFile)) {
        completion_.completer = &completer;
        activeCompletion = &completion_;
        rl_readline_name = "kxcalc";  // for "$if kxcalc" in ~/.inputrc
        rl_basic_word_break_characters = wordBreaks;
        rl_variable_bind("completion-ignore-case", "on");  // names are case-insensitive
        rl_attempted_completion_function = completeName;
        using_history();
        openHistory();
    }

    ~ReadlineReader() override {
        if (historyFile_) history_truncate_file(historyFile_->c_str(), historyLinesKept);
        activeCompletion = nullptr;
    }

    std::optional<std::string> readLine(const std::string& prompt) override {
        char* raw = readline(prompt.c_str());
        if (raw == nullptr) return std::nullopt;
        std::string line = raw;
        std::free(raw);
        return line;
    }

    void remember(const std::string& line) override {
        const HIST_ENTRY* last = history_get(history_base + history_length - 1);
        if (last != nullptr && line == last->line) return;  // Up should not step through repeats
        add_history(line.c_str());
        if (historyFile_ && append_history(1, historyFile_->c_str()) != 0) {
            std::cerr << "kxcalc: cannot write history to " << historyFile_->string() << ": "
                      << std::strerror(errno) << '\n';
            historyFile_.reset();
        }
    }

    bool edits() const override { return true; }

private:
    void openHistory() {
        if (!historyFile_) return;
        if (auto problem = prepareHistoryFile(*historyFile_)) {
            std::cerr << "kxcalc: history is not kept: " << *problem << '\n';
            historyFile_.reset();
            return;
        }
        read_history(historyFile_->c_str());
    }

    CompletionState completion_;
    std::optional<std::filesystem::path> historyFile_;
};

}  // namespace

std::unique_ptr<LineReader> makeTerminalReader(const NameCompleter& completer,
                                               std::optional<std::filesystem::path> historyFile) {
    return std::make_unique<ReadlineReader>(completer, std::move(historyFile));
}

}  // namespace kxcalc
