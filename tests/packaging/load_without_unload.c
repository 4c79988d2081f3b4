/* A host that loads the library at run time and exits without unloading it, as ctypes
 * and most plugin hosts do. The process must end cleanly: the library's tables are still
 * in use when the runtime starts its exit handlers. */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s LIBRARY\n", argv[0]);
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) {
        fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    char* (*calc)(char*) = (char* (*)(char*))dlsym(library, "kx_calc");
    if (calc == NULL) return 2;
    char buffer[64] = "set width = 2+i";
    if (strcmp(calc(buffer), "2+i") != 0) return 1;
    strcpy(buffer, "width*width");
    if (strcmp(calc(buffer), "3+4i") != 0) return 1;
    puts("loaded, used, and left loaded at exit");
    return 0;
}
