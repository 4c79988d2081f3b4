// The entry's own message texts; the evaluator's are in eval/messages.h.
#pragma once

#include <string_view>

namespace kx::messages {

inline constexpr std::string_view missingVariableName = "Syntax error: Missing variable name.";
inline constexpr std::string_view outOfMemory = "Out of memory.";

// A message is cut to this many characters before its terminator.
inline constexpr std::size_t maxMessageLength = 63;

}  // namespace kx::messages
