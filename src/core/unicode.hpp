// The program keeps its text in UTF-8; Windows paths, window texts and the
// window layout hold UTF-16. These are the conversions between the two and
// the one UTF-8 decoder that everything reading text by character uses.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvella {

// Ill-formed input never fails: each unpaired surrogate and each broken UTF-8
// sequence (as DecodeUtf8 delimits it) becomes U+FFFD, so every result is
// well-formed.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// Decodes the character that starts at text[pos] and moves pos past it. Only
// well-formed UTF-8 decodes: a stray continuation byte, a cut sequence, an
// overlong form, an encoded surrogate or a value above U+10FFFF gives nullopt
// and moves pos past the broken part (the longest beginning of a valid
// sequence, at least one byte), so that the character after it is read on
// its own. At the end of text it gives nullopt and leaves pos alone.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& pos);

}  // namespace corvella
