// Conversions between text and the program's 16-bit integers. Texts are
// UTF-8. What a Japanese input method types counts as its ASCII form: every
// full-width form U+FF01..U+FF5E (digits, signs, the point, and letters too,
// so "１ｅ２" reads as 100), the ideographic space U+3000 as a blank and the
// minus sign U+2212 as '-'.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvella {

// The number in the text, blanks before and after ignored, a fraction
// rounded to the nearest integer with halves to even; a number too small
// for a double (1e-400) is 0. TypeMismatch for a text that is no number (the
// empty text too), Overflow outside -32768..32767.
std::int16_t TextToInt16(std::string_view text);

// Decimal digits, a minus sign only when negative, no leading blank.
std::string Int16ToText(std::int16_t value);

}  // namespace corvella
