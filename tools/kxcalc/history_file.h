// Where the interactive host keeps the lines of earlier sessions.
#pragma once

#include <filesystem>
#include <optional>

namespace kxcalc {

// The history file from the two environment values (either may be null): the state
// directory $XDG_STATE_HOME when it is an absolute path, else $HOME/.local/state, then
// kxcalc/history. None when neither gives an absolute directory.
std::optional<std::filesystem::path> historyFilePath(const char* xdgStateHome, const char* home);

// Makes sure the file's directory exists (private to the user when it is created) and the
// file itself exists with mode 0600, so that lines can be appended to it. Returns a reason
// on failure.
std::optional<std::string> prepareHistoryFile(const std::filesystem::path& file);

// The number of lines kept in the file between sessions.
inline constexpr int historyLinesKept = 1000;

}  // namespace kxcalc
