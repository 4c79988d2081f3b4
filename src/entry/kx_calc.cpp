// The library's one exported function. Nothing thrown inside crosses this boundary.
#include "kx_calc.h"

#include <new>
#include <stdexcept>

#include "entry/calculate.h"
#include "entry/entry_messages.h"

extern "C" KX_CALC_API char* kx_calc(char* line) {
    if (line == nullptr) return line;  // no buffer, nothing to answer in
    try {
        kx::calculate(line, kx::symbolTables());
    } catch (const std::bad_alloc&) {
        kx::writeMessage(line, kx::messages::outOfMemory);
    } catch (const std::length_error&) {  // more than a container or the bracket count can hold
        kx::writeMessage(line, kx::messages::outOfMemory);
    }
    return line;
}
