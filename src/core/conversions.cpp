#include "core/conversions.hpp"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/arithmetic.hpp"
#include "core/runtime_error.hpp"
#include "core/unicode.hpp"

namespace corvella {
namespace {

// The ASCII character that a typed character stands for in a number, or 0.
char NumberCharacter(char32_t code) {
  constexpr char32_t kFullWidthOffset = 0xFEE0;  // U+FF01..U+FF5E mirror U+0021..U+007E
  if (code >= 0xFF01 && code <= 0xFF5E) {
    code -= kFullWidthOffset;
  } else if (code == 0x3000) {  // ideographic space
    code = U' ';
  } else if (code == 0x2212) {  // minus sign
    code = U'-';
  }
  if (code > 0x7F) {
    return 0;
  }
  return static_cast<char>(code);
}

std::optional<std::string> ToAsciiNumberText(std::string_view text) {
  std::string ascii;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto code = DecodeUtf8(text, pos);
    if (!code) {
      return std::nullopt;
    }
    const char c = NumberCharacter(*code);
    if (c == 0) {
      return std::nullopt;
    }
    ascii.push_back(c);
  }
  return ascii;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

[[noreturn]] void ThrowTypeMismatch() { throw RuntimeError(RuntimeErrorKind::TypeMismatch, "Type mismatch"); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the run of digits at the front of `text`.
std::size_t DigitsAt(std::string_view text) {
  std::size_t count = 0;
  while (count < text.size() && IsDigit(text[count])) {
    ++count;
  }
  return count;
}

// [digits] [. [digits]] [e [sign] digits] with at least one digit before the
// exponent: no blanks, no hexadecimal, no "inf" or "nan".
bool IsDecimal(std::string_view number) {
  const std::size_t whole = DigitsAt(number);
  number.remove_prefix(whole);
  std::size_t fraction = 0;
  if (!number.empty() && number.front() == '.') {
    number.remove_prefix(1);
    fraction = DigitsAt(number);
    number.remove_prefix(fraction);
  }
  if (whole + fraction == 0) {
    return false;
  }
  if (number.empty()) {
    return true;
  }
  if (number.front() != 'e' && number.front() != 'E') {
    return false;
  }
  number.remove_prefix(1);
  if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
    number.remove_prefix(1);
  }
  return !number.empty() && DigitsAt(number) == number.size();
}

// [sign] and a decimal, read as the nearest double. A number too large for a
// double is an overflow; one too small gives the nearest double (zero or next
// to it) and so rounds to 0.
double ParseDecimal(std::string_view number) {
  bool negative = false;
  if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
    negative = number.front() == '-';
    number.remove_prefix(1);
  }
  if (!IsDecimal(number)) {
    ThrowTypeMismatch();
  }
  // Plain decimal by now, which strtod reads correctly rounded; the program
  // never leaves the "C" locale, whose decimal point is '.'.
  const std::string digits(number);
  const double value = std::strtod(digits.c_str(), nullptr);
  if (std::isinf(value)) {
    throw RuntimeError(RuntimeErrorKind::Overflow, "Overflow");
  }
  return negative ? -value : value;
}

}  // namespace

std::int16_t TextToInt16(std::string_view text) {
  const auto ascii = ToAsciiNumberText(text);
  if (!ascii) {
    ThrowTypeMismatch();
  }
  std::string_view number = *ascii;
  while (!number.empty() && IsBlank(number.front())) {
    number.remove_prefix(1);
  }
  while (!number.empty() && IsBlank(number.back())) {
    number.remove_suffix(1);
  }
  return RoundToInt16(ParseDecimal(number));
}

std::string Int16ToText(std::int16_t value) { return std::to_string(value); }

}  // namespace corvella
