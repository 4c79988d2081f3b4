// The interactive session on a terminal: a prompt, an answer per line, help and quit.
#pragma once

#include <ostream>

#include "line_reader.h"
#include "name_completer.h"
#include "terminal_style.h"

namespace kxcalc {

// Reads lines until end of input, "quit" or "exit". "help" (or "?") prints the help text;
// blank lines are passed over; every other line goes to the library, and its answer is
// printed with the message style. Returns whether every answer was a result.
bool runInteractiveSession(LineReader& reader, NameCompleter& completer, std::ostream& out,
                           MessageStyle style);

}  // namespace kxcalc
