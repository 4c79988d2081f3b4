/*
 * kx_calc: evaluate one line of the kxcalc expression language.
 *
 * The host passes a writable, NUL-terminated line in a buffer of at least 64 bytes
 * (larger when the line itself is longer). The library overwrites the buffer with the
 * result text ("1", "-7+24i", "nan") or an error message ("Syntax error.  Unmatched: )")
 * and returns the same pointer. A line that begins with "set " and holds "=" assigns a
 * variable and leaves the stored value in the buffer.
 *
 * Calls that assign nothing may run on several threads at once; a call that assigns
 * must not overlap any other call.
 */
#ifndef KX_CALC_H
#define KX_CALC_H

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
