// The scanner is a two-state machine (an operand is expected, or an operator is): each
// character is classified once, names are resolved against the tables as they are read,
// and operator entries are stamped with the bracket depth at which they were read.
// Brackets themselves are never stacked; the depth stamps decide their effect.
//
// A fault stops the scan and is reported as an EvaluationFault, a view into the text.
#include "eval/evaluate.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "eval/char_class.h"
#include "eval/evaluation_stacks.h"
#include "eval/messages.h"
#include "eval/number_scan.h"

namespace kx {
namespace {

class Evaluator {
public:
    Evaluator(const SymbolTables& tables, const Complex* tolerance) : tables_(tables), tolerance_(tolerance) {}

    // The scan's own state (the cursor, whether an operand is expected, the bracket depth)
    // lives in locals of this loop, where the compiler can keep it in registers; the stacks
    // are the only state kept in the object.
    Evaluation run(const char* cursor) {
        bool expectOperand = true;
        std::int32_t bracketDepth = 0;
        for (;;) {
            switch (characterClass(*cursor)) {
                case CharacterClass::End:
                    return finish();
                case CharacterClass::WhiteSpace:
                    ++cursor;
                    break;
                case CharacterClass::NumberStart: {
                    if (!expectOperand) return failure(messages::parseError, cursor);
                    const ScannedNumber number = scanNumber(cursor);
                    cursor = number.end;
                    operands_.push(Complex{number.value, 0.0});
                    expectOperand = false;
                    break;
                }
                case CharacterClass::OpeningBracket:
                    if (!expectOperand) return failure(messages::bracketMisplaced, cursor, 1);
                    // Depths are stamped into 32-bit entries. A line nesting deeper (2 GiB of
                    // opening brackets) is refused as an exhausted resource rather than let
                    // the count overflow.
                    if (bracketDepth == std::numeric_limits<std::int32_t>::max()) throw std::length_error("bracket depth");
                    ++bracketDepth;
                    ++cursor;
                    break;
                case CharacterClass::ClosingBracket:
                    if (expectOperand) return failure(messages::bracketMisplaced, cursor, 1);
                    if (bracketDepth == 0) return failure(messages::bracketUnmatched, cursor, 1);
                    --bracketDepth;
                    ++cursor;
                    break;
                case CharacterClass::Letter: {
                    const LookupKey name = scanName(cursor);
                    cursor += name.text.size();
                    const bool read = expectOperand ? readOperandName(name, bracketDepth, expectOperand)
                                                    : readOperator(name, bracketDepth, expectOperand);
                    if (!read) return failure(fault_);
                    break;
                }
                case CharacterClass::Other: {
                    const LookupKey symbol(std::string_view(cursor, 1));
                    ++cursor;
                    const bool read = expectOperand ? readOperandSymbol(symbol, bracketDepth)
                                                    : readOperator(symbol, bracketDepth, expectOperand);
                    if (!read) return failure(fault_);
                    break;
                }
            }
        }
    }

private:
    // The result of a scan that a fault stopped.
    static Evaluation failure(const EvaluationFault& fault) { return {Complex{0.0, 0.0}, fault}; }
    static Evaluation failure(std::string_view fixed, const char* appended,
                              std::size_t appendedLength = EvaluationFault::untilEnd) {
        return failure({fixed, appended, appendedLength});
    }

    // For the token readers, which answer whether they read their token: keeps the fault
    // for run to return.
    bool fail(std::string_view fixed, const char* appended = nullptr,
              std::size_t appendedLength = EvaluationFault::untilEnd) {
        fault_ = {fixed, appended, appended ? appendedLength : 0};
        return false;
    }

    // A run of letters, as the key of its lookups.
    static LookupKey scanName(const char* start) {
        const char* end = start + 1;
        while (isLetter(*end)) ++end;
        return LookupKey(std::string_view(start, static_cast<std::size_t>(end - start)));
    }

    // A name where an operand is expected: a prefix function, a constant, tol or a variable.
    bool readOperandName(const LookupKey& name, std::int32_t bracketDepth, bool& expectOperand) {
        if (const OperatorEntry* entry = tables_.functions.findEntry(name)) {
            return pushEntry(*entry, bracketDepth);  // a prefix entry is followed by its operand
        }
        if (const Complex* constant = tables_.constants.findEntry(name)) return pushOperand(*constant, expectOperand);
        if (tolerance_ != nullptr && name.text == vocabulary::toleranceName) return pushOperand(*tolerance_, expectOperand);
        if (const std::optional<Complex> variable = tables_.variables.find(name)) {
            return pushOperand(*variable, expectOperand);
        }
        return true;  // a name found in no table is passed over
    }

    // Any other character where an operand is expected: a prefix sign. A fault's appended
    // text is the rest of the line after the token.
    bool readOperandSymbol(const LookupKey& symbol, std::int32_t bracketDepth) {
        if (const OperatorEntry* entry = tables_.functions.findEntry(symbol)) return pushEntry(*entry, bracketDepth);
        return fail(messages::unknownToken, symbol.text.data() + 1);
    }

    bool pushOperand(Complex value, bool& expectOperand) {
        operands_.push(value);
        expectOperand = false;
        return true;
    }

    bool readOperator(const LookupKey& token, std::int32_t bracketDepth, bool& expectOperand) {
        const OperatorEntry* entry = tables_.operators.findEntry(token);
        if (!entry) return fail(messages::unknownToken, token.text.data() + token.text.size());
        expectOperand = entry->kind != OperatorKind::Postfix;
        return pushEntry(*entry, bracketDepth);
    }

    // `incoming` is only compared, and only its depth and precedence are read; the stack
    // receives the table's entry and stamps the depth on it in place.
    bool pushEntry(const OperatorEntry& entry, std::int32_t bracketDepth) {
        OperatorEntry incoming = entry;
        incoming.depth = bracketDepth;
        while (shouldReduce(operators_, incoming)) {
            if (!applyTop(operators_, operands_)) return fail(messages::ranOutOfData);
        }
        operators_.push(entry);
        operators_.top().depth = bracketDepth;
        return true;
    }

    // Unclosed brackets are accepted; a missing last operand shows up as too few operands.
    Evaluation finish() {
        while (!operators_.empty()) {
            if (!applyTop(operators_, operands_)) return {Complex{0.0, 0.0}, {messages::ranOutOfData}};
        }
        if (operands_.size() > 1) return {Complex{0.0, 0.0}, {messages::tooMuchData}};
        if (operands_.empty()) return {Complex{0.0, 0.0}, {messages::ranOutOfData}};  // nothing gave a value
        return {operands_.top(), {}};
    }

    const SymbolTables& tables_;
    const Complex* tolerance_;  // the call's tolerance, or null: tol is read from the table
    EvaluationFault fault_;     // the fault that stopped a token's reading
    OperandStack operands_;
    OperatorStack operators_;
};

}  // namespace

Evaluation evaluateOrFault(const char* text, const SymbolTables& tables, const Complex* tolerance) {
    return Evaluator(tables, tolerance).run(text);
}

}  // namespace kx
