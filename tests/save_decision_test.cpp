#include "restore/save_decision.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "restore/saved_layout.hpp"

namespace corvella {
namespace {

std::string Text(std::vector<SavedItem> items, SavedTime saved_at = {2024, 5, 1, 9, 3, 7}) {
  return FormatSavedLayout(SavedLayout{saved_at, 1920, 1080, std::move(items)});
}

TEST(DecideSave, KeepsThePendingLayoutOnlyWhileTheDesktopStillShowsCorvellasPicture) {
  const std::string pending = Text({{"a", 1, 10, 10}, {"b", 1, 10, 90}});
  // Where the heart put them and a heart icon file.
  const std::string picture = Text({{"a", 1, 400, 100}, {"b", 1, 460, 60}, {"Plim1.ico", 1, 640, 100}});
  const std::vector<ViewItem> heart{{"a", 400, 100}, {"b", 460, 60}, {"Plim1.ico", 640, 100}};
  struct Row {
    const char* what;
    std::optional<std::string> pending;
    std::optional<std::string> picture;
    std::vector<ViewItem> desktop;
    SaveDecision decision;
  };
  const Row rows[] = {
      {"nothing pending", std::nullopt, picture, heart, SaveDecision::SaveDesktop},
      {"still the picture", pending, picture, heart, SaveDecision::KeepPending},
      {"heart file gone since", pending, picture, {{"a", 400, 100}, {"b", 460, 60}}, SaveDecision::KeepPending},
      {"laid out anew", pending, picture, {{"a", 30, 30}, {"b", 30, 110}, heart[2]}, SaveDecision::SaveDesktop},
      {"other layout", Text({{"a", 1, 1, 1}}, {2024, 5, 2}), picture, {{"a", 3, 3}}, SaveDecision::KeepPending},
      {"half in place", pending, picture, {{"a", 400, 100}, {"b", 30, 110}}, SaveDecision::SaveDesktop},
      {"no recorded item left", pending, Text({{"c", 1, 5, 5}}), heart, SaveDecision::SaveDesktop},
      {"damaged", pending.substr(1), picture, heart, SaveDecision::SaveDesktop},
      {"unknown version", "corvella-layout 99\n", picture, heart, SaveDecision::SaveDesktop},
      {"matches no item", pending, picture, {{"x", 400, 100}}, SaveDecision::SaveDesktop},
      {"no record", pending, std::nullopt, {{"a", 30, 30}}, SaveDecision::KeepPending},
      {"record does not read", pending, "corvella-layout 1\n", {{"a", 30, 30}}, SaveDecision::KeepPending},
  };
  // Each file as one read hands it on: a text that does not read whole is none.
  const auto read = [](const std::optional<std::string>& text) {
    return text ? ParseSavedLayout(*text).layout : std::nullopt;
  };
  const auto record = [&](const std::optional<std::string>& text) {  // of a picture over `pending`
    return read(text) ? std::optional(RecordedPicture{*read(text), "2024-05-01 09:03:07"}) : std::nullopt;
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DecideSave(read(row.pending), record(row.picture), row.desktop), row.decision) << row.what;
  }
}

}  // namespace
}  // namespace corvella
