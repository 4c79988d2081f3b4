// Reading back the text that kx_calc leaves in the buffer: a result, or else a message.
#pragma once

#include <string_view>

namespace kxcalc::python {

struct ResultValue {
    double re = 0.0;
    double im = 0.0;
};

// Whether text is a result as kx_calc writes one, and its value: "0", "nan", a real part
// ("-2.5", "1e+020", "inf"), an imaginary part alone ("2i", "i", "-i", "-infi"), or a real
// part followed by a signed imaginary part ("3-4i", "1+i", "0+0i"). A part left out of the
// text reads as 0; "nan" reads as a NaN real part. Any other text is one of the messages,
// every one of which begins with a capital letter, a character no result holds.
bool readResult(std::string_view text, ResultValue* value);

}  // namespace kxcalc::python
