// The folder view as a click uses it: checked against the list view at the
// click's read, told the click's moves after the list view, and left alone
// for the rest of the run once it did not answer in time. It never tells the
// user anything: without it the list view's moves stand alone, as before.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "shell/folder_view.hpp"
#include "shell/view_reader.hpp"

namespace corvella {

class DesktopFolderView {
 public:
  // As long as the program leaves a hung window alone after one time-out.
  static constexpr std::uint32_t kAnswerWithinMs = 5000;

  explicit DesktopFolderView(FolderViewHost& host, std::uint32_t answer_within_ms = kAnswerWithinMs)
      : host_(host), answer_within_ms_(answer_within_ms) {}

  // At the click's read of the list view, every item in index order: whether
  // this click's moves go to the folder view too.
  void Check(std::span<const ViewItem> read);
  // After the click's list-view moves: the same moves of the items it holds,
  // in one call, once per check that passed.
  void Follow(std::span<const ItemMove> moves);

 private:
  bool Run(std::function<bool(FolderView&)> work);

  FolderViewHost& host_;
  std::uint32_t answer_within_ms_;
  bool unanswered_ = false;                   // it once did not answer in time
  std::optional<std::int32_t> agreed_count_;  // the items both views held at a check that passed
};

}  // namespace corvella
