// The C++20 library pieces that the calculator uses and that libc++ 13, the standard library
// of Debian's Emscripten (3.1.6), lacks: std::bit_cast, std::make_unique_for_overwrite, and
// to_chars / from_chars for double.
// The WebAssembly build includes this header ahead of every source file, so the sources stay
// as they are; with a newer libc++ it declares nothing.
#pragma once

#include <bit>
#include <charconv>
#include <cstddef>
#include <memory>
#include <type_traits>

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000

namespace std {

template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
    static_assert(sizeof(To) == sizeof(From));
    return __builtin_bit_cast(To, from);
}

template <class T>
    requires(!std::is_array_v<T>)
unique_ptr<T> make_unique_for_overwrite() {
    return unique_ptr<T>(new T);
}

template <class T>
    requires std::is_unbounded_array_v<T>
unique_ptr<T> make_unique_for_overwrite(std::size_t count) {
    return unique_ptr<T>(new std::remove_extent_t<T>[count]);
}

// As the standard specifies them (double_charconv.cpp, over {fmt} and fast_float): general,
// scientific and fixed with a precision ("%.*g", "%.*e", "%.*f"), and the shortest
// scientific text that reads back as the same double; hexadecimal is not provided.
to_chars_result to_chars(char* first, char* last, double value, chars_format format);
to_chars_result to_chars(char* first, char* last, double value, chars_format format, int precision);

// Correctly rounded, decimal forms only; result_out_of_range (value untouched) when a
// finite literal overflows to infinity or a nonzero one underflows to zero.
from_chars_result from_chars(const char* first, const char* last, double& value,
                             chars_format format = chars_format::general);

}  // namespace std

#endif
