#include "core/unicode.hpp"

namespace corvella {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t code) {
  if (code < 0x10000) {
    out += static_cast<char16_t>(code);
  } else {
    out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
  }
}

}  // namespace

std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& pos) {
  if (pos >= text.size()) {
    return std::nullopt;
  }
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) {
    return lead;
  }
  int continuations = 0;
  char32_t code = 0;
  // The range the first continuation byte must fall in: narrower after some
  // leads, which is what shuts out overlong forms, surrogates and values
  // above U+10FFFF while reading the bytes in order.
  unsigned char lowest = 0x80;
  unsigned char highest = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    continuations = 1;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    continuations = 2;
    code = lead & 0x0F;
    lowest = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
    highest = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    continuations = 3;
    code = lead & 0x07;
    lowest = lead == 0xF0 ? 0x90 : 0x80;
    highest = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
  } else {
    return std::nullopt;
  }
  for (int i = 0; i < continuations; ++i) {
    if (pos == text.size()) {
      return std::nullopt;
    }
    const auto next = static_cast<unsigned char>(text[pos]);
    if (next < lowest || next > highest) {
      return std::nullopt;
    }
    code = (code << 6) | (next & 0x3F);
    lowest = 0x80;
    highest = 0xBF;
    ++pos;
  }
  return code;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    AppendUtf16(out, DecodeUtf8(text, pos).value_or(kReplacement));
  }
  return out;
}

}  // namespace corvella
