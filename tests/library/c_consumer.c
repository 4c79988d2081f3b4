/* The public header compiles as C, names the version of the project it belongs to, and a C
 * host links and calls the library. */
#include <stdio.h>
#include <string.h>

#include "kx_calc.h"

#if KXCALC_VERSION_MAJOR != PROJECT_VERSION_MAJOR || KXCALC_VERSION_MINOR != PROJECT_VERSION_MINOR || \
    KXCALC_VERSION_PATCH != PROJECT_VERSION_PATCH
#error "the version macros of kx_calc.h differ from the project's version"
#endif

int main(void) {
    char buffer[64] = "2*(3+4*i)";
    if (strcmp(KXCALC_VERSION_STRING, PROJECT_VERSION) != 0) {
        fprintf(stderr, "KXCALC_VERSION_STRING is %s, the project's version %s\n", KXCALC_VERSION_STRING,
                PROJECT_VERSION);
        return 1;
    }
    char* result = kx_calc(buffer);
    if (result != buffer || strcmp(result, "6+8i") != 0) {
        fprintf(stderr, "unexpected: %s\n", result);
        return 1;
    }
    puts(result);
    return 0;
}
