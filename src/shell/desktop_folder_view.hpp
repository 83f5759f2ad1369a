// The folder view as a click uses it: checked against the list view at the
// click's read, told the click's moves after the list view, and left alone
// for the rest of the run once it did not answer in time. It never tells the
// user anything: without it the list view's moves stand alone, as before.
#pragma once

#include <cstdint>
#include <functional>
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
  // this click's moves go to the folder view too. An empty read says no.
  void Check(std::span<const ViewItem> read);
  // After the click's list-view moves, on a list view of list_count items:
  // the same moves of the items it holds, in one call, once per check that
  // passed. A heart drawn once its files are shown moves more items than the
  // click read, so the count is the one the moves were made on.
  void Follow(std::span<const ItemMove> moves, std::int32_t list_count);

 private:
  bool Run(std::function<bool(FolderView&)> work);

  FolderViewHost& host_;
  std::uint32_t answer_within_ms_;
  bool unanswered_ = false;  // it once did not answer in time
  bool agreed_ = false;      // the last check passed, and no moves followed it yet
};

}  // namespace corvella
