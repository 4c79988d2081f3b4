// Telling a message from a result, as a host does: by the first words of the text.
#pragma once

#include <string_view>

namespace kx::bench {

inline bool isMessage(std::string_view text) {
    for (const std::string_view prefix : {"Parse Error", "Syntax error", "Syntax Error", "Ran Out of Data",
                                          "Out of memory"}) {
        if (text.starts_with(prefix)) return true;
    }
    return false;
}

}  // namespace kx::bench
