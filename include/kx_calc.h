/*
 * kx_calc: evaluate one line of the kxcalc expression language.
 *
 * The host passes a writable, NUL-terminated line in a buffer of at least 64 bytes
 * (larger when the line itself is longer). The library overwrites the buffer with the
 * result text ("1", "-7+24i", "nan") or an error message ("Syntax error.  Unmatched: )")
 * and returns the same pointer. A line that begins with "set " and holds "=" assigns a
 * variable and leaves the stored value in the buffer.
 *
 * Any number of threads may call kx_calc at once with any lines, assignments included:
 * each value is read and stored whole, an assignment is seen by every call that starts
 * after it returns, and one call uses one value of tol throughout. Calls that assign
 * nothing take no lock. No call may be running while the library is unloaded.
 */
#ifndef KX_CALC_H
#define KX_CALC_H

/* The version of the library this header belongs to, for a host to test at compile time. */
#define KXCALC_VERSION_MAJOR 1
#define KXCALC_VERSION_MINOR 1
#define KXCALC_VERSION_PATCH 0
#define KXCALC_VERSION_STRING "1.1.0"

#if defined(_WIN32)
#  if defined(KX_CALC_BUILDING)
#    define KX_CALC_API __declspec(dllexport)
#  else
#    define KX_CALC_API __declspec(dllimport)
#  endif
#else
#  if defined(KX_CALC_BUILDING)
#    define KX_CALC_API __attribute__((visibility("default")))
#  else
#    define KX_CALC_API
#  endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

KX_CALC_API char* kx_calc(char* line);

#ifdef __cplusplus
}
#endif

#endif /* KX_CALC_H */
