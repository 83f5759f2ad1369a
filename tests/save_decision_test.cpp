#include "restore/save_decision.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace corvella {
namespace {

// The user's layout, saved before the first picture.
const std::string kPending =
    "corvella-layout 1\t2024-05-01 09:03:07\t1920\t1080\n"
    "a\t1\t10\t10\n"
    "b\t1\t10\t90\n"
    "c\t1\t10\t170\n"
    "d\t1\t10\t250\n";
// Where the heart put them and two heart icon files.
const std::string kPicture =
    "corvella-layout 1\t2024-05-01 09:03:09\t1920\t1080\n"
    "a\t1\t400\t100\n"
    "b\t1\t460\t60\n"
    "c\t1\t520\t100\n"
    "d\t1\t580\t60\n"
    "Plim1.ico\t1\t640\t100\n"
    "Plim2.ico\t1\t700\t160\n";

const std::vector<ViewItem> kHeartShown{{"a", 400, 100}, {"b", 460, 60},          {"c", 520, 100},
                                        {"d", 580, 60},  {"Plim1.ico", 640, 100}, {"Plim2.ico", 700, 160}};
// The heart icon files went at the next start; the rest still stand in the heart.
const std::vector<ViewItem> kHeartWithoutFiles{{"a", 400, 100}, {"b", 460, 60}, {"c", 520, 100}, {"d", 580, 60}};
// Laid out anew by hand, one item left where the heart put it.
const std::vector<ViewItem> kLaidOutAnew{{"a", 400, 100}, {"b", 30, 30}, {"c", 30, 110}, {"d", 30, 190}};
// Exactly half still in place is not more than half.
const std::vector<ViewItem> kHalfInPlace{{"a", 400, 100}, {"b", 460, 60}, {"c", 30, 110}, {"d", 30, 190}};
const std::vector<ViewItem> kOtherItems{{"x", 10, 10}, {"y", 10, 90}};
// The pending layout's items with a new one; none of them was in the picture.
const std::vector<ViewItem> kNoneRecorded{{"a", 10, 10}, {"e", 10, 90}};

struct SaveRow {
  const char* what;
  std::optional<std::string> pending;
  std::optional<std::string> picture;
  std::vector<ViewItem> desktop;
  SaveDecision decision;
};

TEST(DecideSave, KeepsThePendingLayoutOnlyWhileTheDesktopStillShowsCorvellasPicture) {
  const std::string picture_of_b = "corvella-layout 1\t2024-05-01 09:03:09\t1920\t1080\nb\t1\t400\t100\n";
  const SaveRow rows[] = {
      {"nothing pending", std::nullopt, kPicture, kHeartShown, SaveDecision::SaveDesktop},
      {"still the picture", kPending, kPicture, kHeartShown, SaveDecision::KeepPending},
      {"still the picture, heart files gone", kPending, kPicture, kHeartWithoutFiles, SaveDecision::KeepPending},
      {"laid out anew", kPending, kPicture, kLaidOutAnew, SaveDecision::SaveDesktop},
      {"half in place", kPending, kPicture, kHalfInPlace, SaveDecision::SaveDesktop},
      {"no recorded item left", kPending, picture_of_b, kNoneRecorded, SaveDecision::SaveDesktop},
      {"damaged pending", kPending.substr(0, kPending.size() - 1), kPicture, kHeartShown, SaveDecision::SaveDesktop},
      {"unknown version", "corvella-layout 99\n", kPicture, kHeartShown, SaveDecision::SaveDesktop},
      {"pending matches no item", kPending, kPicture, kOtherItems, SaveDecision::SaveDesktop},
      {"no record", kPending, std::nullopt, kLaidOutAnew, SaveDecision::KeepPending},
      {"record does not read", kPending, "corvella-layout 1\n", kLaidOutAnew, SaveDecision::KeepPending},
  };
  for (const SaveRow& row : rows) {
    SCOPED_TRACE(row.what);
    const std::optional<std::string_view> pending =
        row.pending ? std::optional<std::string_view>(*row.pending) : std::nullopt;
    const std::optional<std::string_view> picture =
        row.picture ? std::optional<std::string_view>(*row.picture) : std::nullopt;
    EXPECT_EQ(DecideSave(pending, picture, row.desktop), row.decision);
  }
}

}  // namespace
}  // namespace corvella
