#include "history_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

namespace kxcalc {

namespace {

std::optional<std::filesystem::path> absoluteDirectory(const char* value) {
    if (value == nullptr || *value == '\0') return std::nullopt;
    std::filesystem::path directory(value);
    if (!directory.is_absolute()) return std::nullopt;  // relative values are to be ignored
    return directory;
}

}  // namespace

std::optional<std::filesystem::path> historyFilePath(const char* xdgStateHome, const char* home) {
    if (auto state = absoluteDirectory(xdgStateHome)) return *state / "kxcalc" / "history";
    if (auto homeDirectory = absoluteDirectory(home))
        return *homeDirectory / ".local" / "state" / "kxcalc" / "history";
    return std::nullopt;
}

std::optional<std::string> prepareHistoryFile(const std::filesystem::path& file) {
    const std::filesystem::path directory = file.parent_path();
    std::error_code error;
    if (!std::filesystem::is_directory(directory, error)) {
        std::filesystem::create_directories(directory, error);
        if (error) return directory.string() + ": " + error.message();
        std::filesystem::permissions(directory, std::filesystem::perms::owner_all, error);  // lines may be private
    }
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (descriptor < 0) return file.string() + ": " + std::strerror(errno);
    ::close(descriptor);
    return std::nullopt;
}

}  // namespace kxcalc
