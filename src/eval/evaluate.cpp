// The scanner is a two-state machine (an operand is expected, or an operator is): each
// character is classified once, names are resolved against the tables as they are read,
// and operator entries are stamped with the bracket depth at which they were read.
// Brackets themselves are never stacked; the depth stamps decide their effect.
//
// A fault stops the scan and is reported as an EvaluationFault, a view into the text;
// evaluate turns it into a CalcError for callers that want the exception.
#include "eval/evaluate.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "eval/calc_error.h"
#include "eval/char_class.h"
#include "eval/evaluation_stacks.h"
#include "eval/messages.h"
#include "eval/number_scan.h"

namespace kx {
namespace {

class Evaluator {
public:
    Evaluator(const char* text, const SymbolTables& tables, const Complex* tolerance)
        : cursor_(text), tables_(tables), tolerance_(tolerance) {}

    Evaluation run() {
        while (const char c = *cursor_) {
            if (!step(c)) return {Complex{0.0, 0.0}, fault_};
        }
        return finish();
    }

private:
    // One token, or one blank; false at a fault.
    bool step(char c) {
        switch (characterClass(c)) {
            case CharacterClass::WhiteSpace:
                ++cursor_;
                return true;
            case CharacterClass::NumberStart:
                return readNumber();
            case CharacterClass::OpeningBracket:
                return openBracket();
            case CharacterClass::ClosingBracket:
                return closeBracket();
            case CharacterClass::Letter:
            case CharacterClass::Other:
                break;
        }
        return readToken();
    }

    bool fail(std::string_view fixed, const char* appended = nullptr,
              std::size_t appendedLength = EvaluationFault::untilEnd) {
        fault_ = {fixed, appended, appended ? appendedLength : 0};
        return false;
    }

    bool readNumber() {
        if (!expectOperand_) return fail(messages::parseError, cursor_);
        const ScannedNumber number = scanNumber(cursor_);
        cursor_ = number.end;
        operands_.push(Complex{number.value, 0.0});
        expectOperand_ = false;
        return true;
    }

    bool openBracket() {
        if (!expectOperand_) return fail(messages::bracketMisplaced, cursor_, 1);
        // Depths are stamped into 32-bit entries. A line nesting deeper (2 GiB of opening
        // brackets) is refused as an exhausted resource rather than let the count overflow.
        if (bracketDepth_ == std::numeric_limits<std::int32_t>::max()) throw std::length_error("bracket depth");
        ++bracketDepth_;
        ++cursor_;
        return true;
    }

    bool closeBracket() {
        if (expectOperand_) return fail(messages::bracketMisplaced, cursor_, 1);
        if (bracketDepth_ == 0) return fail(messages::bracketUnmatched, cursor_, 1);
        --bracketDepth_;
        ++cursor_;
        return true;
    }

    // A run of letters, or any other single character.
    std::string_view takeToken() {
        const char* start = cursor_;
        if (isLetter(*cursor_)) {
            while (isLetter(*cursor_)) ++cursor_;
        } else {
            ++cursor_;
        }
        return {start, static_cast<std::size_t>(cursor_ - start)};
    }

    bool readToken() {
        const std::string_view token = takeToken();
        return expectOperand_ ? readOperandToken(token) : readOperatorToken(token);
    }

    bool readOperandToken(std::string_view text) {
        const LookupKey token(text);  // prepared once for up to three tables
        if (const OperatorEntry* entry = tables_.functions.findEntry(token)) {
            return pushEntry(*entry);  // a prefix entry is followed by its operand
        }
        if (!isLetter(text.front())) return fail(messages::unknownToken, cursor_);
        if (const Complex* constant = tables_.constants.findEntry(token)) return pushOperand(*constant);
        if (tolerance_ != nullptr && text == toleranceName) return pushOperand(*tolerance_);
        if (const std::optional<Complex> variable = tables_.variables.find(token)) return pushOperand(*variable);
        return true;  // a name found in no table is passed over
    }

    bool pushOperand(Complex value) {
        operands_.push(value);
        expectOperand_ = false;
        return true;
    }

    bool readOperatorToken(std::string_view token) {
        const OperatorEntry* entry = tables_.operators.findEntry(LookupKey(token));
        if (!entry) return fail(messages::unknownToken, cursor_);
        expectOperand_ = entry->kind != OperatorKind::Postfix;
        return pushEntry(*entry);
    }

    bool pushEntry(OperatorEntry entry) {
        entry.depth = bracketDepth_;
        while (shouldReduce(operators_, entry)) {
            if (!applyTop(operators_, operands_)) return fail(messages::ranOutOfData);
        }
        operators_.push(entry);
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

    const char* cursor_;
    const SymbolTables& tables_;
    const Complex* tolerance_;  // the call's tolerance, or null: tol is read from the table
    bool expectOperand_ = true;
    std::int32_t bracketDepth_ = 0;
    EvaluationFault fault_;
    OperandStack operands_;
    OperatorStack operators_;
};

}  // namespace

Evaluation evaluateOrFault(const char* text, const SymbolTables& tables, const Complex* tolerance) {
    return Evaluator(text, tables, tolerance).run();
}

Complex evaluate(const char* text, const SymbolTables& tables) {
    const Evaluation evaluation = evaluateOrFault(text, tables);
    if (evaluation.fault) {
        throw CalcError(evaluation.fault.fixed, evaluation.fault.appendedText(EvaluationFault::untilEnd));
    }
    return evaluation.value;
}

}  // namespace kx
