// The arithmetic operators + - * / % and the prefix signs.
#pragma once

#include <span>

#include "core/complex.h"
#include "tables/operator_entry.h"

namespace kx {

Complex add(Complex z, Complex w);
Complex subtract(Complex z, Complex w);
Complex multiply(Complex z, Complex w);
Complex divide(Complex z, Complex w);
Complex remainder(Complex z, Complex w);
Complex prefixPlus(Complex z);
Complex negate(Complex z);

// OperatorTable records "+", "-", "*", "/", "%", in table order.
std::span<const TableEntry> arithmeticOperatorEntries();
// FunctionTable records of the prefix signs "+", "-", in table order.
std::span<const TableEntry> prefixSignEntries();

}  // namespace kx
