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

bool IsAnySwitch(std::u16string_view word) {
  constexpr char16_t kFullWidthSolidus = u'\uFF0F';
  return !word.empty() && (word.front() == u'/' || word.front() == u'-' || word.front() == kFullWidthSolidus);
}

bool IsSwitch(std::u16string_view word, std::u16string_view name) {
  if (word.size() != name.size() + 1 || !IsAnySwitch(word)) return false;
  return std::equal(name.begin(), name.end(), word.begin() + 1, [](char16_t want, char16_t got) {
    return want == (got >= u'A' && got <= u'Z' ? static_cast<char16_t>(got - u'A' + u'a') : got);
  });
}

}  // namespace

CommandLine ParseCommandLine(std::u16string_view command_line) {
  std::vector<std::u16string> words = Words(command_line);
  CommandLine parsed;
  bool unknown_switch = false;
  for (std::size_t i = 1; i < words.size(); ++i) {  // the first is the program
    const bool restore = IsSwitch(words[i], u"restore");
    const bool quiet = IsSwitch(words[i], u"quiet");
    parsed.restore = parsed.restore || restore;
    parsed.quiet = parsed.quiet || quiet;
    unknown_switch = unknown_switch || (IsAnySwitch(words[i]) && !restore && !quiet);
  }
  parsed.misused = unknown_switch || (parsed.quiet && !parsed.restore);
  return parsed;
}

std::string_view CommandLineUsage() {
  return "使い方: Corvella.exe [/restore [/quiet]]\n\n"
         "(なし)\tウィンドウを開きます。\n"
         "/restore\t並べる前に保存した配置に戻します。ウィンドウは開きません。\n"
         "/quiet\t/restore と一緒に使います。メッセージを出しません。\n\n"
         "終了コード 10: このほかのスイッチは使えません。";
}

}  // namespace corvella
