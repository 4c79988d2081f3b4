/* Evaluates each argument with the installed library, from C, and prints the answers. */
#include <kx_calc.h>

#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        char buffer[256] = {0};
        if (strlen(argv[i]) >= sizeof buffer) return 2;
        strcpy(buffer, argv[i]);
        puts(kx_calc(buffer));
    }
    return 0;
}
