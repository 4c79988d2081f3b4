// The command-line host's own logic: assignment names, completion, the history file's
// place, message styles, the help text and the interactive loop with a scripted reader.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "help_text.h"
#include "history_file.h"
#include "interactive_session.h"
#include "name_completer.h"
#include "terminal_style.h"

namespace {

using kxcalc::MessageStyle;
using kxcalc::NameCompleter;

TEST(assigned_name, is_cut_as_the_library_cuts_it) {
    const struct {
        const char* line;
        const char* name;
    } cases[] = {
        {"set x = 2", "x"},
        {"SET Foo=1", "foo"},          // lowered first
        {"set \t  ab \t = 3", "ab"},   // blanks on both sides cut
        {"set a b = 1", "a b"},        // inner blanks kept
        {"set x = y = 2", "x"},        // the first "=" ends the name
        {"set = 5", ""},
        {"set\tx = 2", ""},            // a tab after set is no assignment
        {"x = 2", ""},
        {"set x", ""},                 // no "="
        {" set x = 2", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(kxcalc::assignedName(c.line), c.name) << c.line;
}

TEST(name_completer, offers_functions_constants_and_tol_by_prefix) {
    const NameCompleter completer;
    const struct {
        const char* prefix;
        std::vector<std::string> expected;
    } cases[] = {
        {"sq", {"sqrt"}},
        {"ac", {"acos", "acosh", "acot", "acoth", "acsc", "acsch"}},
        {"co", {"cos", "cosh", "cot", "coth"}},
        {"SIN", {"sin", "sinh"}},       // case is ignored, lower case comes back
        {"t", {"tan", "tanh", "tol"}},
        {"p", {"pi"}},
        {"e", {"e", "exp"}},
        {"l", {"ln", "log"}},
        {"q", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(completer.candidates(c.prefix), c.expected) << c.prefix;
}

TEST(name_completer, knows_every_name_of_the_language) {
    const NameCompleter completer;
    const std::vector<std::string> all = completer.candidates("");
    EXPECT_EQ(all.size(), 29u + 3u + 1u);  // functions, constants, tol
    for (const char* name : {"abs", "asech", "acsch", "csc", "sec", "sech", "i", "e", "pi", "tol"})
        EXPECT_NE(std::find(all.begin(), all.end(), name), all.end()) << name;
}

TEST(name_completer, adds_variables_that_were_stored) {
    NameCompleter completer;
    completer.noteLine("set width = 3", false);
    completer.noteLine("SET Wide = 4", false);
    completer.noteLine("set wrong = 2)", true);   // a message: nothing was stored
    completer.noteLine("set w2 = 1", false);      // stored, but never readable as a name
    completer.noteLine("set w x = 1", false);
    completer.noteLine("set pi = 3", false);      // already offered as the constant
    completer.noteLine("width*2", false);
    EXPECT_EQ(completer.candidates("w"), (std::vector<std::string>{"wide", "width"}));
    EXPECT_EQ(completer.candidates("pi"), (std::vector<std::string>{"pi"}));
}

TEST(function_name, is_told_from_other_names) {
    EXPECT_TRUE(kxcalc::isFunctionName("acoth"));
    EXPECT_TRUE(kxcalc::isFunctionName("ln"));
    EXPECT_FALSE(kxcalc::isFunctionName("pi"));
    EXPECT_FALSE(kxcalc::isFunctionName("tol"));
    EXPECT_FALSE(kxcalc::isFunctionName("si"));
}

TEST(history_file_path, follows_the_state_directory_convention) {
    const struct {
        const char* xdgStateHome;
        const char* home;
        std::optional<std::filesystem::path> expected;
    } cases[] = {
        {"/s", "/h", "/s/kxcalc/history"},
        {nullptr, "/h", "/h/.local/state/kxcalc/history"},
        {"", "/h", "/h/.local/state/kxcalc/history"},
        {"relative/state", "/h", "/h/.local/state/kxcalc/history"},  // relative values are ignored
        {nullptr, nullptr, std::nullopt},
        {nullptr, "", std::nullopt},
        {"/s", nullptr, "/s/kxcalc/history"},
        {nullptr, "home", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kxcalc::historyFilePath(c.xdgStateHome, c.home), c.expected)
            << (c.xdgStateHome ? c.xdgStateHome : "(unset)") << " " << (c.home ? c.home : "(unset)");
    }
}

TEST(history_file, is_created_private_with_its_directories) {
    const std::filesystem::path root = std::filesystem::path(::testing::TempDir()) / "kxcalc-history-test";
    std::filesystem::remove_all(root);
    const std::filesystem::path file = root / "state" / "kxcalc" / "history";
    ASSERT_EQ(kxcalc::prepareHistoryFile(file), std::nullopt);
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(file.parent_path().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(kxcalc::prepareHistoryFile(file), std::nullopt);  // an existing file is kept
    std::filesystem::remove_all(root);
}

TEST(history_file, reports_a_directory_it_cannot_make) {
    const std::filesystem::path root = std::filesystem::path(::testing::TempDir()) / "kxcalc-history-blocked";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    { std::ofstream(root / "state") << "a file where a directory belongs\n"; }
    EXPECT_NE(kxcalc::prepareHistoryFile(root / "state" / "kxcalc" / "history"), std::nullopt);
    std::filesystem::remove_all(root);
}

TEST(colour, only_on_a_terminal_that_takes_it) {
    const struct {
        bool isTerminal;
        const char* noColor;
        const char* term;
        bool expected;
    } cases[] = {
        {true, nullptr, "xterm-256color", true},
        {true, "", "xterm", true},          // an empty NO_COLOR does not count
        {true, "1", "xterm", false},
        {true, "0", "xterm", false},        // any non-empty value turns colour off
        {false, nullptr, "xterm", false},
        {true, nullptr, "dumb", false},
        {true, nullptr, nullptr, false},
        {true, nullptr, "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kxcalc::colourWanted(c.isTerminal, c.noColor, c.term), c.expected)
            << c.isTerminal << " " << (c.noColor ? c.noColor : "(unset)") << " " << (c.term ? c.term : "(unset)");
    }
}

TEST(styled_answer, sets_only_messages_apart) {
    EXPECT_EQ(kxcalc::styledAnswer("3+4i", false, MessageStyle::colour), "3+4i");
    EXPECT_EQ(kxcalc::styledAnswer("3+4i", false, MessageStyle::marked), "3+4i");
    EXPECT_EQ(kxcalc::styledAnswer("Ran Out of Data", true, MessageStyle::plain), "Ran Out of Data");
    EXPECT_EQ(kxcalc::styledAnswer("Ran Out of Data", true, MessageStyle::marked), "! Ran Out of Data");
    EXPECT_EQ(kxcalc::styledAnswer("Ran Out of Data", true, MessageStyle::colour),
              "\x1b[1;31mRan Out of Data\x1b[0m");
}

TEST(help_text, fits_one_screen) {
    const std::string help =
        std::string(kxcalc::helpText) + std::string(kxcalc::editingHelpText) + std::string(kxcalc::leavingHelpText);
    std::istringstream lines(help);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) EXPECT_LE(line.size(), 79u) << line;
    EXPECT_LE(count, 20);
}

TEST(help_text, names_every_function) {
    const NameCompleter completer;
    for (const std::string& name : completer.candidates("")) {
        if (!kxcalc::isFunctionName(name)) continue;
        const bool named = kxcalc::helpText.find(" " + name + " ") != std::string_view::npos ||
                           kxcalc::helpText.find(" " + name + "\n") != std::string_view::npos;
        EXPECT_TRUE(named) << name;
    }
}

// A reader that hands out a fixed script of lines and records what it was asked to remember.
class ScriptedReader final : public kxcalc::LineReader {
public:
    explicit ScriptedReader(std::deque<std::string> lines) : lines_(std::move(lines)) {}
    std::optional<std::string> readLine(const std::string& /*prompt*/) override {
        if (lines_.empty()) return std::nullopt;
        std::string line = lines_.front();
        lines_.pop_front();
        return line;
    }
    void remember(const std::string& line) override { remembered.push_back(line); }
    bool edits() const override { return true; }

    std::vector<std::string> remembered;

private:
    std::deque<std::string> lines_;
};

TEST(interactive_session, answers_lines_and_obeys_help_and_quit) {
    ScriptedReader reader({"1+2", "", "   ", "set qq = 2*i", "2)", " HELP ", "quit", "5"});
    NameCompleter completer;
    std::ostringstream out;
    const bool allResults = kxcalc::runInteractiveSession(reader, completer, out, MessageStyle::marked);
    EXPECT_FALSE(allResults);
    const std::string expected = "3\n2i\n! Syntax error.  Unmatched: )\n" + std::string(kxcalc::helpText) +
                                 std::string(kxcalc::editingHelpText) + std::string(kxcalc::leavingHelpText);
    EXPECT_EQ(out.str(), expected);  // nothing after quit, and no line for the blank ones
    EXPECT_EQ(reader.remembered, (std::vector<std::string>{"1+2", "set qq = 2*i", "2)", " HELP ", "quit"}));
    EXPECT_EQ(completer.candidates("qq"), (std::vector<std::string>{"qq"}));
}

TEST(interactive_session, ends_at_end_of_input_on_a_fresh_line) {
    ScriptedReader reader({"2*3", "set zz = 1"});
    NameCompleter completer;
    std::ostringstream out;
    EXPECT_TRUE(kxcalc::runInteractiveSession(reader, completer, out, MessageStyle::colour));
    EXPECT_EQ(out.str(), "6\n1\n\n");
}

}  // namespace
