#include "core/unicode.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvella {
namespace {

// --- Conversions between UTF-8 and UTF-16 ------------------------------------

TEST(Unicode, Utf8RoundTripsThroughUtf16Unchanged) {
  const std::string text = "C:\\\xE3\x83\x87\xE3\x82\xB9\\\xF0\x9F\x92\x96 \xC3\xA9\x7F";
  const std::u16string wide = Utf8ToUtf16(text);

  EXPECT_EQ(wide, u"C:\\\u30c7\u30b9\\\U0001F496 \u00e9\x7f");
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

// Which bytes make one broken part is the decoder's rule, tested below.
TEST(Unicode, EachBrokenPartOfUtf8BecomesAReplacementCharacterAndTheTextGoesOn) {
  EXPECT_EQ(Utf8ToUtf16("a\xE3\x83z"), u"a\uFFFDz");
  EXPECT_EQ(Utf8ToUtf16("a\xE3\x83"), u"a\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x8F\xBF\xBF"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // overlong, four bytes
  EXPECT_EQ(Utf8ToUtf16("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");  // the last character: the top surrogate pair
}

TEST(Unicode, UnpairedSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00\xD800"), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD83D')), "\xEF\xBF\xBD");
}

// --- Decoding one character ---------------------------------------------------

struct Decoded {
  std::optional<char32_t> code;
  std::size_t end;
};

Decoded DecodeFirst(std::string_view text) {
  std::size_t pos = 0;
  const std::optional<char32_t> code = DecodeUtf8(text, pos);
  return {code, pos};
}

TEST(Unicode, TheDecoderTakesEveryLengthUpToItsLimitsAndStopsAfterTheCharacter) {
  const struct {
    std::string_view text;
    char32_t code;
    std::size_t length;
  } cases[] = {
      {"\x7F!", 0x7F, 1},
      {"\xC2\x80!", 0x80, 2},
      {"\xDF\xBF!", 0x7FF, 2},
      {"\xE0\xA0\x80!", 0x800, 3},
      {"\xED\x9F\xBF!", 0xD7FF, 3},
      {"\xEE\x80\x80!", 0xE000, 3},
      {"\xEF\xBF\xBF!", 0xFFFF, 3},
      {"\xF0\x90\x80\x80!", 0x10000, 4},
      {"\xF4\x8F\xBF\xBF!", 0x10FFFF, 4},
  };
  for (const auto& c : cases) {
    const Decoded decoded = DecodeFirst(c.text);
    EXPECT_EQ(decoded.code, std::optional<char32_t>(c.code)) << std::hex << static_cast<unsigned>(c.code);
    EXPECT_EQ(decoded.end, c.length) << std::hex << static_cast<unsigned>(c.code);
  }
}

TEST(Unicode, TheDecoderRejectsBrokenInputAndSkipsOnlyTheBrokenPart) {
  const struct {
    std::string_view text;
    std::size_t skipped;
  } cases[] = {
      {"\x80z", 1},         // a continuation byte alone
      {"\xBF\xBF", 1},      // continuation bytes only: each is its own broken part
      {"\xE3\x83z", 2},     // cut short by the next character
      {"\xF0\x9F\x92", 3},  // cut short by the end
      {"\xC0\x81", 1},      // overlong forms, whose lead can start nothing valid...
      {"\xE0\x9F\xBF", 1},  // ...or whose first continuation is out of range
      {"\xF0\x8F\xBF\xBF", 1},
      {"\xED\xA0\x80", 1},      // a surrogate
      {"\xF4\x90\x80\x80", 1},  // above U+10FFFF
      {"\xF5\x80\x80\x80", 1},  // leads that no character starts with
      {"\xFF", 1},
  };
  for (const auto& c : cases) {
    const Decoded decoded = DecodeFirst(c.text);
    EXPECT_EQ(decoded.code, std::nullopt) << ::testing::PrintToString(std::string(c.text));
    EXPECT_EQ(decoded.end, c.skipped) << ::testing::PrintToString(std::string(c.text));
  }

  std::size_t at_end = 2;
  EXPECT_EQ(DecodeUtf8("ab", at_end), std::nullopt);
  EXPECT_EQ(at_end, 2U);
}

}  // namespace
}  // namespace corvella
