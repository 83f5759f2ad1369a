#include "app/command_line.hpp"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace corvella {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Blank-separated words; a quote keeps blanks inside a word and is dropped.
std::vector<std::u16string> Words(std::u16string_view line) {
  std::vector<std::u16string> words;
  std::u16string word;
  bool quoted = false;
  bool in_word = false;
  for (const char16_t c : line) {
    if (c == u'"') {
      quoted = !quoted;
      in_word = true;
    } else if (IsBlank(c) && !quoted) {
      if (in_word) words.push_back(std::exchange(word, {}));
      in_word = false;
    } else {
      word.push_back(c);
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

bool IsSwitch(std::u16string_view word, std::u16string_view name) {
  if (word.size() != name.size() + 1 || (word.front() != u'/' && word.front() != u'-')) return false;
  return std::equal(name.begin(), name.end(), word.begin() + 1, [](char16_t want, char16_t got) {
    return want == (got >= u'A' && got <= u'Z' ? static_cast<char16_t>(got - u'A' + u'a') : got);
  });
}

}  // namespace

CommandLine ParseCommandLine(std::u16string_view command_line) {
  std::vector<std::u16string> words = Words(command_line);
  CommandLine parsed;
  for (std::size_t i = 1; i < words.size(); ++i) {  // the first is the program
    parsed.restore = parsed.restore || IsSwitch(words[i], u"restore");
    parsed.quiet = parsed.quiet || IsSwitch(words[i], u"quiet");
  }
  return parsed;
}

}  // namespace corvella
