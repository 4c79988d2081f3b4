// Prints the scaled hyperbolic products for lines "C a b", "S a b" or "E a b" (b·cosh a,
// b·sinh a, b·e^a; doubles in any strtod form), one hexadecimal result per line, for
// tools/reference/measure_hyperbolic_products.py, which compares them with mpmath.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "complex/hyperbolic_products.h"

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream fields(line);
        std::string kind, aText, bText;
        if (!(fields >> kind >> aText >> bText)) continue;
        const double a = std::strtod(aText.c_str(), nullptr);
        const double b = std::strtod(bText.c_str(), nullptr);
        const double result = kind == "C"   ? kx::scaledCosh(a, b)
                              : kind == "S" ? kx::scaledSinh(a, b)
                                            : kx::exponentialProduct(a, b);
        std::printf("%a\n", result);
    }
}
