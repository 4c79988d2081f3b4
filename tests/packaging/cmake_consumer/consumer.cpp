// Evaluates each argument with the installed library and prints the answers, one a line.
#include <kx_calc.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string line = argv[i];
        std::vector<char> buffer(std::max<std::size_t>(64, line.size() + 1), '\0');
        std::copy(line.begin(), line.end(), buffer.begin());
        std::cout << kx_calc(buffer.data()) << '\n';
    }
}
