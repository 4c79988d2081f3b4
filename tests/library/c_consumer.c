/* The public header compiles as C, and a C host links and calls the library. */
#include <stdio.h>
#include <string.h>

#include "kx_calc.h"

int main(void) {
    char buffer[64] = "2*(3+4*i)";
    char* result = kx_calc(buffer);
    if (result != buffer || strcmp(result, "6+8i") != 0) {
        fprintf(stderr, "unexpected: %s\n", result);
        return 1;
    }
    puts(result);
    return 0;
}
