#include "core/conversions.hpp"

#include <cctype>
#include <charconv>
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

// Accepts [sign] digits [. digits] [e [sign] digits], with at least one digit
// before the exponent; from_chars does the rest but has no leading '+'.
double ParseDecimal(std::string_view number) {
  bool negative = false;
  if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
    negative = number.front() == '-';
    number.remove_prefix(1);
  }
  if (number.empty() || !(std::isdigit(static_cast<unsigned char>(number.front())) || number.front() == '.')) {
    ThrowTypeMismatch();
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (end != number.data() + number.size()) {
    ThrowTypeMismatch();
  }
  if (error == std::errc::result_out_of_range) {
    // Too large for a double is an overflow; too small is an underflow, which
    // gives the nearest double (zero or next to it) and so rounds to 0.
    const std::string digits(number);
    value = std::strtod(digits.c_str(), nullptr);
    if (std::isinf(value)) {
      throw RuntimeError(RuntimeErrorKind::Overflow, "Overflow");
    }
  } else if (error != std::errc{}) {
    ThrowTypeMismatch();
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
