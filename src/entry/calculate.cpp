#include "entry/calculate.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "entry/assignment.h"
#include "entry/entry_messages.h"
#include "entry/format_result.h"
#include "eval/char_class.h"
#include "eval/evaluate.h"

namespace kx {
namespace {

// The characters of a word lowered at once, as toLower lowers each: a byte gains 0x20 when
// it is below 0x80 and its low seven bits lie from 'A' to 'Z'. The sums stay inside their
// bytes.
template <class Word>
void lowerWord(char* characters) {
    constexpr Word ones = static_cast<Word>(~Word{0}) / 0xff;  // 0x01 in every byte
    Word word;
    std::memcpy(&word, characters, sizeof word);
    const Word low = word & (0x7f * ones);
    const Word fromA = low + (0x80 - 'A') * ones;     // top bit set where low >= 'A'
    const Word pastZ = low + (0x80 - 'Z' - 1) * ones;  // top bit set where low > 'Z'
    const Word upper = fromA & ~pastZ & ~word & (0x80 * ones);
    word |= upper >> 2;
    std::memcpy(characters, &word, sizeof word);
}

// The line is lowered a word at a time, the last word overlapping those before it
// (lowering twice changes nothing); only lines of three characters or fewer go one by one.
void lowerInPlace(char* line) {
    const std::size_t length = std::strlen(line);
    if (length >= 8) {
        for (std::size_t k = 0; k + 8 < length; k += 8) lowerWord<std::uint64_t>(line + k);
        lowerWord<std::uint64_t>(line + length - 8);
    } else if (length >= 4) {
        lowerWord<std::uint32_t>(line);
        lowerWord<std::uint32_t>(line + length - 4);
    } else {
        for (std::size_t k = 0; k < length; ++k) line[k] = toLower(line[k]);
    }
}

// The fault's message, cut to 63 characters. Its appended text is a part of the same
// buffer, so it is moved into place before the fixed words are written over the start.
void writeFault(char* buffer, const EvaluationFault& fault) {
    const std::size_t fixedLength = std::min(fault.fixed.size(), messages::maxMessageLength);
    const std::string_view appended = fault.appendedText(messages::maxMessageLength - fixedLength);
    if (!appended.empty()) std::memmove(buffer + fixedLength, appended.data(), appended.size());
    std::memcpy(buffer, fault.fixed.data(), fixedLength);
    buffer[fixedLength + appended.size()] = '\0';
}

// The stored value is written with the tolerance in force before the assignment.
void performAssignment(char* buffer, const Assignment& assignment, SymbolTables& tables, const Complex& tolerance) {
    const Evaluation evaluation = evaluateOrFault(assignment.expression, tables, &tolerance);
    if (evaluation.fault) {
        writeFault(buffer, evaluation.fault);
        return;
    }
    if (assignment.name.empty()) {
        writeMessage(buffer, messages::missingVariableName);
        return;
    }
    tables.variables.assign(assignment.name, evaluation.value);
    formatResult(buffer, evaluation.value, tolerance.re);
}

}  // namespace

void writeMessage(char* buffer, std::string_view message) {
    const std::size_t length = std::min(message.size(), messages::maxMessageLength);
    std::copy_n(message.data(), length, buffer);
    buffer[length] = '\0';
}

// The tolerance is read once, before anything else: the expression's tol and the one that
// decides which parts are printed are the same value, whatever other threads assign.
void calculate(char* buffer, SymbolTables& tables) {
    lowerInPlace(buffer);
    const Complex tolerance = tables.variables.tolerance();
    if (const auto assignment = recognizeAssignment(buffer)) {
        performAssignment(buffer, *assignment, tables, tolerance);
        return;
    }
    const Evaluation evaluation = evaluateOrFault(buffer, tables, &tolerance);
    if (evaluation.fault) {
        writeFault(buffer, evaluation.fault);
        return;
    }
    formatResult(buffer, evaluation.value, tolerance.re);
}

}  // namespace kx
