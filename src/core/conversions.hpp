// Conversions between text and the program's 16-bit integers. Texts are
// UTF-8; digits, signs, the decimal point and blanks typed with a Japanese
// input method (full-width forms) count as their ASCII forms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvella {

// The number in the text, blanks before and after ignored, a fraction
// rounded to the nearest integer with halves to even. TypeMismatch for a
// text that is no number (the empty text too), Overflow outside
// -32768..32767.
std::int16_t TextToInt16(std::string_view text);

// Decimal digits, a minus sign only when negative, no leading blank.
std::string Int16ToText(std::int16_t value);

}  // namespace corvella
