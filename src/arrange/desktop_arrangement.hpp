// The main window's desktop variables and the operations on them: finding
// and counting the shell's desktop list view, moving one item, and the two
// pictures, the heart and the parallelogram. Every statement runs under the
// resume-next policy, so these operations never raise.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/view_placer.hpp"
#include "shell/window_system.hpp"

namespace corvella {

class DesktopArrangement {
 public:
  explicit DesktopArrangement(WindowSystem& windows) : windows_(windows) {}

  // Locates the desktop list view anew (progman > shelldll_defview >
  // syslistview32, or a WorkerW's view on current Windows) and reads its
  // item count into hWndList and lngCount. Returns whether the view
  // answered: a count that got no answer leaves lngCount as it was, which
  // is no count of the desktop.
  bool CountDesktopItems();
  // One LVM_SETITEMPOSITION to hWndList; the answer is not examined. A
  // message that went is kept among the moves sent; one that got no answer
  // cuts the picture short.
  void SetIconPosition(std::int32_t index, std::int32_t position);

  // Both pictures grow with the view's icon spacing and start at the main
  // screen's work area, measured after the count (picture_placement.hpp);
  // lngX and lngY keep the grids' unscaled positions.
  //
  // Each returns false, having moved nothing, when the view did not answer
  // its count.
  //
  // The heart: items 0 to 13 on its outline, the rest in columns of lngRows
  // to its right.
  bool MoveIcons();
  // The parallelogram: every item in slanted columns of lngRows.
  bool MoveIcons2();

  // What the last picture sent, in order: each item and where the view puts
  // it (x from the low, y from the high 16 bits of its icon position), for
  // those who must tell the shell the same moves or remember them.
  [[nodiscard]] const std::vector<ItemMove>& MovesSent() const { return moves_sent_; }
  // Whether the view stopped answering during the last picture, at its icon
  // spacing or at a move: the picture went on as far as it could.
  [[nodiscard]] bool CutShort() const { return cut_short_; }

  // The window's variables, by the program's own names (lng: signed 32-bit,
  // sng: float); zero until set, kept between runs.
  WindowHandle hWndList = 0;  // the desktop list view of the last count; 0 when none was found
  std::int32_t lngCount = 0;  // its item count at the last count
  std::int32_t lngIndex = 0;  // the item being placed
  std::int32_t lngRows = 0;   // the column height: icons per column of both grids
  std::int32_t lngX = 0;      // the last grid position computed
  std::int32_t lngY = 0;
  float sngScaleX = 0.0F;  // the heart's scale: the pictures' scale at its last run
  float sngScaleY = 0.0F;

 private:
  WindowSystem& windows_;
  std::vector<ItemMove> moves_sent_;
  bool cut_short_ = false;
};

}  // namespace corvella
