// The scanner is a two-state machine (an operand is expected, or an operator is): each
// character is classified once, names are resolved against the tables as they are read,
// and operator entries are stamped with the bracket depth at which they were read.
// Brackets themselves are never stacked; the depth stamps decide their effect.
#include "eval/evaluate.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string_view>

#include "eval/calc_error.h"
#include "eval/char_class.h"
#include "eval/evaluation_stacks.h"
#include "eval/messages.h"
#include "eval/number_scan.h"

namespace kx {
namespace {

std::string_view restOf(const char* text) { return {text, std::strlen(text)}; }

class Evaluator {
public:
    Evaluator(const char* text, const SymbolTables& tables) : cursor_(text), tables_(tables) {}

    Complex run() {
        while (char c = *cursor_) {
            if (isWhiteSpace(c)) {
                ++cursor_;
            } else if (isDigit(c) || c == '.') {
                readNumber();
            } else if (isOpeningBracket(c)) {
                openBracket(c);
            } else if (isClosingBracket(c)) {
                closeBracket(c);
            } else {
                readToken();
            }
        }
        return finish();
    }

private:
    void readNumber() {
        if (!expectOperand_) throw CalcError(messages::parseError, restOf(cursor_));
        const ScannedNumber number = scanNumber(cursor_);
        cursor_ = number.end;
        operands_.push(Complex{number.value, 0.0});
        expectOperand_ = false;
    }

    void openBracket(char bracket) {
        if (!expectOperand_) throw CalcError(messages::bracketMisplaced, std::string_view(&bracket, 1));
        // Depths are stamped into 32-bit entries. A line nesting deeper (2 GiB of opening
        // brackets) is refused as an exhausted resource rather than let the count overflow.
        if (bracketDepth_ == std::numeric_limits<std::int32_t>::max()) throw std::length_error("bracket depth");
        ++bracketDepth_;
        ++cursor_;
    }

    void closeBracket(char bracket) {
        if (expectOperand_) throw CalcError(messages::bracketMisplaced, std::string_view(&bracket, 1));
        if (bracketDepth_ == 0) throw CalcError(messages::bracketUnmatched, std::string_view(&bracket, 1));
        --bracketDepth_;
        ++cursor_;
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

    void readToken() {
        const std::string_view token = takeToken();
        if (expectOperand_) {
            readOperandToken(token);
        } else {
            readOperatorToken(token);
        }
    }

    void readOperandToken(std::string_view token) {
        if (auto entry = tables_.functions.find(token)) {
            pushEntry(*entry);  // a prefix entry is followed by its operand
            return;
        }
        if (!isLetter(token.front())) throw CalcError(messages::unknownToken, restOf(cursor_));
        auto value = tables_.constants.find(token);
        if (!value) value = tables_.variables.find(token);
        if (!value) return;  // a name found in no table is passed over
        operands_.push(*value);
        expectOperand_ = false;
    }

    void readOperatorToken(std::string_view token) {
        auto entry = tables_.operators.find(token);
        if (!entry) throw CalcError(messages::unknownToken, restOf(cursor_));
        pushEntry(*entry);
        expectOperand_ = entry->kind != OperatorKind::Postfix;
    }

    void pushEntry(OperatorEntry entry) {
        entry.depth = bracketDepth_;
        while (shouldReduce(operators_, entry)) reduceTop(operators_, operands_);
        operators_.push(entry);
    }

    // Unclosed brackets are accepted; a missing last operand shows up as too few operands.
    Complex finish() {
        while (!operators_.empty()) reduceTop(operators_, operands_);
        if (operands_.size() > 1) throw CalcError(messages::tooMuchData);
        if (operands_.empty()) throw CalcError(messages::ranOutOfData);  // nothing gave a value
        return operands_.top();
    }

    const char* cursor_;
    const SymbolTables& tables_;
    bool expectOperand_ = true;
    std::int32_t bracketDepth_ = 0;
    OperandStack operands_;
    OperatorStack operators_;
};

}  // namespace

Complex evaluate(const char* text, const SymbolTables& tables) { return Evaluator(text, tables).run(); }

}  // namespace kx
