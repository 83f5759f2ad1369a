#include "icon_maker/icon_map.hpp"

#include <charconv>
#include <optional>
#include <vector>

namespace corvella {
namespace {

struct Key {
  std::uint8_t index = 0;
  bool transparent = false;
};

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    auto line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    if (end == std::string_view::npos) {
      break;
    }
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (true) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string_view::npos) {
      return words;
    }
    const auto end = line.find_first_of(" \t", at);
    words.push_back(line.substr(at, end - at));
    if (end == std::string_view::npos) {
      return words;
    }
    at = end;
  }
}

// The whole word as a number no greater than limit.
std::optional<std::uint32_t> ParseNumber(std::string_view word, int base, std::uint32_t limit) {
  std::uint32_t value = 0;
  const auto* const end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value, base);
  if (word.empty() || error != std::errc{} || stop != end || value > limit) {
    return std::nullopt;
  }
  return value;
}

class Parser {
 public:
  IconMap Parse(std::string_view text) {
    const auto lines = SplitLines(text);
    std::size_t at = 0;
    for (; at < lines.size() && !picture_; ++at) {
      ParseSetting(static_cast<int>(at) + 1, lines[at]);
    }
    if (!picture_) {
      throw IconMapError(static_cast<int>(lines.size()), "no \"picture\" line");
    }
    for (int row = 0; row < kIconSize; ++row, ++at) {
      if (at == lines.size()) {
        throw IconMapError(static_cast<int>(at), "the picture has " + std::to_string(row) + " rows, not 32");
      }
      ParseRow(static_cast<int>(at) + 1, row, lines[at]);
    }
    for (; at < lines.size(); ++at) {
      if (!SplitWords(lines[at]).empty()) {
        throw IconMapError(static_cast<int>(at) + 1, "text after the 32 picture rows");
      }
    }
    return map_;
  }

 private:
  void ParseSetting(int line, std::string_view text) {
    const auto words = SplitWords(text);
    if (words.empty() || words[0].front() == '#') {
      return;
    }
    const auto name = words[0];
    if (name == "picture" && words.size() == 1) {
      picture_ = true;
    } else if (name == "colour" && words.size() == 3) {
      const auto index = Number(line, words[1], 10, 255, "palette index");
      if (words[2].size() != 6) {
        throw IconMapError(line, "a colour is six hex digits, RRGGBB");
      }
      if (colour_given_[index]) {
        throw IconMapError(line, "palette entry " + std::to_string(index) + " given twice");
      }
      colour_given_[index] = true;
      map_.palette[index] = Number(line, words[2], 16, 0xFFFFFF, "colour");
    } else if (name == "key" && (words.size() == 3 || (words.size() == 4 && words[3] == "transparent"))) {
      if (words[1].size() != 1) {
        throw IconMapError(line, "a key is one character");
      }
      auto& key = keys_[static_cast<unsigned char>(words[1].front())];
      if (key) {
        throw IconMapError(line, "key '" + std::string(words[1]) + "' given twice");
      }
      key = Key{static_cast<std::uint8_t>(Number(line, words[2], 10, 255, "palette index")), words.size() == 4};
    } else if (name == "entry" && words.size() == 3) {
      map_.entry_planes = static_cast<std::uint16_t>(Number(line, words[1], 10, 0xFFFF, "plane count"));
      map_.entry_bit_count = static_cast<std::uint16_t>(Number(line, words[2], 10, 0xFFFF, "bit count"));
    } else if (name == "trailer" && words.size() == 2) {
      map_.trailing_zeros = Number(line, words[1], 10, 0xFFFF, "trailing byte count");
    } else {
      throw IconMapError(line, "not a setting: " + std::string(text));
    }
  }

  void ParseRow(int line, int row, std::string_view text) {
    if (text.size() != kIconSize) {
      throw IconMapError(line, "a picture row is 32 characters, not " + std::to_string(text.size()));
    }
    for (int column = 0; column < kIconSize; ++column) {
      const auto& key = keys_[static_cast<unsigned char>(text[column])];
      if (!key) {
        throw IconMapError(line, std::string("no key for '") + text[column] + "'");
      }
      map_.pixels[row][column] = key->index;
      map_.transparent[row][column] = key->transparent;
    }
  }

  static std::uint32_t Number(int line, std::string_view word, int base, std::uint32_t limit, const char* what) {
    const auto value = ParseNumber(word, base, limit);
    if (!value) {
      throw IconMapError(line, std::string("not a valid ") + what + ": " + std::string(word));
    }
    return *value;
  }

  IconMap map_;
  std::array<bool, 256> colour_given_{};
  std::array<std::optional<Key>, 256> keys_{};
  bool picture_ = false;
};

}  // namespace

IconMap ParseIconMap(std::string_view text) { return Parser{}.Parse(text); }

}  // namespace corvella
