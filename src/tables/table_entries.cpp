// The vocabulary's names bound to the complex operations. Each list of operations follows
// its list of names in vocabulary.h, position for position.
#include "tables/table_entries.h"

#include <array>
#include <cstddef>

#include "complex/arithmetic.h"
#include "complex/circular.h"
#include "complex/exponential.h"
#include "complex/inverse.h"
#include "complex/power.h"
#include "tables/vocabulary.h"

namespace kx {
namespace {

// The operation of each of vocabulary::functionNames.
constexpr auto functionOperations = std::to_array<UnaryFunction>({
    sine, cosine, tangent, secant, cosecant, cotangent,
    hyperbolicSine, hyperbolicCosine, hyperbolicTangent, hyperbolicSecant, hyperbolicCosecant, hyperbolicCotangent,
    arcsine, arccosine, arctangent, arcsecant, arccosecant, arccotangent,
    inverseHyperbolicSine, inverseHyperbolicCosine, inverseHyperbolicTangent,
    inverseHyperbolicSecant, inverseHyperbolicCosecant, inverseHyperbolicCotangent,
    sqrt, exp, ln, log, abs,
});

// The operation of each of vocabulary::prefixSignNames.
constexpr auto signOperations = std::to_array<UnaryFunction>({prefixPlus, negate});

struct InfixOperation {
    OperatorKind kind;
    BinaryFunction function;
};

// The operation of each of vocabulary::infixOperators; the power alone is InfixPower.
constexpr auto infixOperations = std::to_array<InfixOperation>({
    {OperatorKind::InfixPower, power},
    {OperatorKind::Infix, add},
    {OperatorKind::Infix, subtract},
    {OperatorKind::Infix, multiply},
    {OperatorKind::Infix, divide},
    {OperatorKind::Infix, remainder},
});

static_assert(functionOperations.size() == vocabulary::functionNames.size());
static_assert(signOperations.size() == vocabulary::prefixSignNames.size());
static_assert(infixOperations.size() == vocabulary::infixOperators.size());

constexpr std::int32_t associativity(bool rightAssociative) { return rightAssociative ? 1 : 0; }

constexpr TableEntry prefixEntry(std::string_view name, UnaryFunction function) {
    return {name,
            {vocabulary::prefixPrecedence, associativity(vocabulary::prefixRightAssociative), 0,
             OperatorKind::Prefix, {.unary = function}}};
}

constexpr TableEntry infixEntry(const vocabulary::InfixOperator& symbol, InfixOperation operation) {
    return {symbol.symbol,
            {symbol.precedence, associativity(symbol.rightAssociative), 0, operation.kind,
             {.binary = operation.function}}};
}

constexpr auto functionTable = [] {
    std::array<TableEntry, functionOperations.size() + signOperations.size()> entries{};
    std::size_t next = 0;
    for (std::size_t k = 0; k < functionOperations.size(); ++k)
        entries[next++] = prefixEntry(vocabulary::functionNames[k], functionOperations[k]);
    for (std::size_t k = 0; k < signOperations.size(); ++k)
        entries[next++] = prefixEntry(vocabulary::prefixSignNames[k], signOperations[k]);
    return entries;
}();

constexpr auto operatorTable = [] {
    std::array<TableEntry, infixOperations.size()> entries{};
    for (std::size_t k = 0; k < infixOperations.size(); ++k)
        entries[k] = infixEntry(vocabulary::infixOperators[k], infixOperations[k]);
    return entries;
}();

}  // namespace

std::span<const TableEntry> functionEntries() { return functionTable; }

std::span<const TableEntry> operatorEntries() { return operatorTable; }

}  // namespace kx
