#include "restore/saved_layout.hpp"

#include <gtest/gtest.h>

#include <string>

#include "core/runtime_error.hpp"

namespace corvella {
namespace {

SavedLayout Sample() {
  return SavedLayout{{2024, 5, 1, 9, 3, 7},
                     1920,
                     1080,
                     {{"ごみ箱", 1, 16, 2},
                      {"a\tb\\c\nd\re", 1, -2147483647 - 1, 2147483647},
                      {"😀", 1, 0, 70000},
                      {"😀", 2, -5, -70000}}};
}

constexpr std::string_view kSampleText =
    "corvella-layout 1\t2024-05-01 09:03:07\t1920\t1080\n"
    "ごみ箱\t1\t16\t2\n"
    "a\\tb\\\\c\\nd\\re\t1\t-2147483648\t2147483647\n"
    "😀\t1\t0\t70000\n"
    "😀\t2\t-5\t-70000\n";

TEST(SavedLayout, WritesAHeaderAndOneEscapedLinePerItem) {
  EXPECT_EQ(FormatSavedLayout(Sample()), kSampleText);
  EXPECT_EQ(FormatSavedLayout(SavedLayout{{2031, 12, 31, 23, 59, 59}, 0, 0, {}}),
            "corvella-layout 1\t2031-12-31 23:59:59\t0\t0\n");
  EXPECT_EQ(FormatSavedLayout(SavedLayout{{2031, 12, 31, 23, 59, 59}, 0, 0, {}, IconGrid{75, 75, -300, -200}}),
            "corvella-layout 2\t2031-12-31 23:59:59\t0\t0\t75\t75\t-300\t-200\n");
}

TEST(SavedLayout, ReadsBackWhatItWrites) {
  const ParsedLayout parsed = ParseSavedLayout(kSampleText);
  ASSERT_TRUE(parsed.layout);
  EXPECT_EQ(*parsed.layout, Sample());

  const SavedLayout empty{{2000, 2, 29, 3, 4, 5}, 800, 600, {}};
  EXPECT_EQ(ParseSavedLayout(FormatSavedLayout(empty)).layout, empty);
  SavedLayout gridded = Sample();
  gridded.grid = IconGrid{107, 1, -300, 2147483647};
  EXPECT_EQ(ParseSavedLayout(FormatSavedLayout(gridded)).layout, gridded);
}

TEST(SavedLayout, RefusesToWriteATimeOrSizeItCouldNotReadBack) {
  SavedLayout layout = Sample();
  layout.saved_at.month = 13;
  EXPECT_THROW(FormatSavedLayout(layout), RuntimeError);
  layout = Sample();
  layout.view_height = -1;
  EXPECT_THROW(FormatSavedLayout(layout), RuntimeError);
  layout = Sample();
  layout.grid = IconGrid{75, 0, 0, 0};
  EXPECT_THROW(FormatSavedLayout(layout), RuntimeError);
}

struct Damage {
  const char* what;
  std::string text;
  LayoutFault fault;
};

const std::string kHeader = "corvella-layout 1\t2024-05-01 09:03:07\t1920\t1080\n";

TEST(SavedLayout, RejectsEveryKindOfDamageWhole) {
  const Damage damages[] = {
      {"empty file", "", LayoutFault::MissingFinalNewline},
      {"cut last line", kHeader + "a\t1\t10\t20", LayoutFault::MissingFinalNewline},
      {"other magic", "corvella-layouts 1\t2024-05-01 09:03:07\t1920\t1080\n", LayoutFault::NotALayout},
      {"byte order mark", "\xEF\xBB\xBF" + kHeader, LayoutFault::NotALayout},
      {"newer version", "corvella-layout 3\t2024-05-01 09:03:07\t1920\t1080\n", LayoutFault::UnknownVersion},
      {"second version without its grid", "corvella-layout 2\t2024-05-01 09:03:07\t1920\t1080\n",
       LayoutFault::BadHeader},
      {"grid spacing 0", "corvella-layout 2\t2024-05-01 09:03:07\t1920\t1080\t0\t75\t0\t0\n", LayoutFault::BadHeader},
      {"header field missing", "corvella-layout 1\t2024-05-01 09:03:07\t1920\n", LayoutFault::BadHeader},
      {"header field extra", "corvella-layout 1\t2024-05-01 09:03:07\t1920\t1080\t1\n", LayoutFault::BadHeader},
      {"month 13", "corvella-layout 1\t2024-13-01 09:03:07\t1920\t1080\n", LayoutFault::BadHeader},
      {"31 February", "corvella-layout 1\t2024-02-31 09:03:07\t1920\t1080\n", LayoutFault::BadHeader},
      {"29 February, common year", "corvella-layout 1\t1900-02-29 09:03:07\t1920\t1080\n", LayoutFault::BadHeader},
      {"31 April", "corvella-layout 1\t2024-04-31 09:03:07\t1920\t1080\n", LayoutFault::BadHeader},
      {"year 0000", "corvella-layout 1\t0000-05-01 09:03:07\t1920\t1080\n", LayoutFault::BadHeader},
      {"hour 24", "corvella-layout 1\t2024-05-01 24:00:00\t1920\t1080\n", LayoutFault::BadHeader},
      {"time without seconds", "corvella-layout 1\t2024-05-01 09:03\t1920\t1080\n", LayoutFault::BadHeader},
      {"negative width", "corvella-layout 1\t2024-05-01 09:03:07\t-1\t1080\n", LayoutFault::BadHeader},
      {"field missing", kHeader + "a\t1\t10\n", LayoutFault::WrongFieldCount},
      {"field extra", kHeader + "a\t1\t10\t20\t0\n", LayoutFault::WrongFieldCount},
      {"blank line", kHeader + "\n", LayoutFault::WrongFieldCount},
      {"unknown escape", kHeader + "a\\x\t1\t10\t20\n", LayoutFault::BadEscape},
      {"backslash at the end", kHeader + "a\\\t1\t10\t20\n", LayoutFault::BadEscape},
      {"bare carriage return", kHeader + "a\rb\t1\t10\t20\n", LayoutFault::BadEscape},
      {"broken UTF-8", kHeader + "\xC3\x28\t1\t10\t20\n", LayoutFault::NotUtf8},
      {"overlong UTF-8", kHeader + "\xC0\xAF\t1\t10\t20\n", LayoutFault::NotUtf8},
      {"empty name", kHeader + "\t1\t10\t20\n", LayoutFault::EmptyName},
      {"occurrence 0", kHeader + "a\t0\t10\t20\n", LayoutFault::BadNumber},
      {"x above int32", kHeader + "a\t1\t2147483648\t20\n", LayoutFault::BadNumber},
      {"y below int32", kHeader + "a\t1\t10\t-2147483649\n", LayoutFault::BadNumber},
      {"plus sign", kHeader + "a\t1\t+10\t20\n", LayoutFault::BadNumber},
      {"leading zero", kHeader + "a\t1\t010\t20\n", LayoutFault::BadNumber},
      {"minus zero", kHeader + "a\t1\t-0\t20\n", LayoutFault::BadNumber},
      {"space", kHeader + "a\t1\t 10\t20\n", LayoutFault::BadNumber},
      {"line ends CR LF", kHeader + "a\t1\t10\t20\r\n", LayoutFault::BadNumber},
      {"same item twice", kHeader + "a\t1\t10\t20\nb\t1\t0\t0\na\t1\t5\t5\n", LayoutFault::DuplicateItem},
  };
  for (const Damage& damage : damages) {
    const ParsedLayout parsed = ParseSavedLayout(damage.text);
    EXPECT_FALSE(parsed.layout) << damage.what;
    EXPECT_EQ(parsed.fault, damage.fault) << damage.what;
  }
}

}  // namespace
}  // namespace corvella
