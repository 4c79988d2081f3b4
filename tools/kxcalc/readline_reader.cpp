// The terminal reader on GNU readline: line editing, Tab completion of the calculator's
// names and a history file shared by the user's sessions.
#include <signal.h>
#include <sys/select.h>

#include <cerrno>
#include <csignal>
#include <cstdio>  // readline's headers use FILE without including it
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
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

// Ctrl-C abandons the line being typed, as in a shell, rather than ending the session. The
// handler only raises the flag; the read loop, whose wait the signal interrupts, does the rest.
volatile std::sig_atomic_t interruptPending = 0;

void noteInterrupt(int /*signal*/) { interruptPending = 1; }

// The line that readline hands to its line callback, which has no user pointer either.
struct FinishedLine {
    bool done = false;
    std::optional<std::string> line;  // none at end of input
};
FinishedLine* finishedLine = nullptr;

void takeLine(char* raw) {
    finishedLine->done = true;
    if (raw != nullptr) finishedLine->line = raw;
    std::free(raw);
    rl_callback_handler_remove();  // no prompt until the next read
}

// Forgets the half-typed line and shows a fresh prompt below it.
void abandonLine() {
    rl_free_line_state();
    rl_callback_sigcleanup();
    rl_replace_line("", 0);
    std::fputs("^C\n", rl_outstream);
    rl_on_new_line();
    rl_redisplay();
}

enum class Wait { input, interrupted, failed };

// Waits until the terminal has input or a signal arrives.
Wait waitForInput() {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(fileno(rl_instream), &readable);
    if (select(fileno(rl_instream) + 1, &readable, nullptr, nullptr, nullptr) > 0) return Wait::input;
    return errno == EINTR ? Wait::interrupted : Wait::failed;
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
        rl_catch_signals = 0;                // SIGINT is handled here
        rl_persistent_signal_handlers = 1;   // SIGWINCH is readline's for the whole read
        struct sigaction interrupt {};
        interrupt.sa_handler = noteInterrupt;
        sigemptyset(&interrupt.sa_mask);
        interrupt.sa_flags = 0;  // no SA_RESTART: the wait must return to see the flag
        sigaction(SIGINT, &interrupt, &previousInterrupt_);
        using_history();
        openHistory();
    }

    ~ReadlineReader() override {
        if (historyFile_) history_truncate_file(historyFile_->c_str(), historyLinesKept);
        sigaction(SIGINT, &previousInterrupt_, nullptr);
        activeCompletion = nullptr;
    }

    std::optional<std::string> readLine(const std::string& prompt) override {
        FinishedLine finished;
        finishedLine = &finished;
        rl_callback_handler_install(prompt.c_str(), takeLine);
        while (!finished.done) {
            const Wait wait = waitForInput();
            if (wait == Wait::input) {
                rl_callback_read_char();
            } else if (wait == Wait::failed) {
                rl_callback_handler_remove();
                break;  // the terminal is gone: as at the end of input
            } else if (interruptPending != 0) {
                interruptPending = 0;
                abandonLine();
            }
        }
        finishedLine = nullptr;
        return finished.line;
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
    struct sigaction previousInterrupt_ {};
    std::optional<std::filesystem::path> historyFile_;
};

}  // namespace

std::unique_ptr<LineReader> makeTerminalReader(const NameCompleter& completer,
                                               std::optional<std::filesystem::path> historyFile) {
    return std::make_unique<ReadlineReader>(completer, std::move(historyFile));
}

}  // namespace kxcalc
