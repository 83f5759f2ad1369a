#include "app/form1.hpp"

#include <optional>
#include <string>

#include "app/busy_cursor.hpp"
#include "app/way_back_messages.hpp"
#include "core/arithmetic.hpp"
#include "core/conversions.hpp"
#include "core/resume_next.hpp"
#include "iconfiles/heart_icons.hpp"
#include "iconfiles/resource_file_writer.hpp"

namespace corvella {
namespace {

// What "はい" says when the view would undo every picture at once.
std::string SelfArrangementWarning(const SelfArrangement& arranging) {
  if (!arranging.auto_arrange && !arranging.snap_to_grid) return {};
  std::string entries;
  if (arranging.auto_arrange) entries += "「アイコンの自動整列」";
  if (arranging.snap_to_grid) entries += "「アイコンを等間隔に整列」";
  return "デスクトップのアイコンは、まだ自動で並ぶ設定です。このままでは、並べたアイコンがすぐに元の並びに"
         "戻されます。\n\nデスクトップを右クリック → 表示 → " +
         entries + " のチェックを外してください。";
}

// The heart needs fourteen items; with more than twelve shown it is drawn.
constexpr std::int32_t kMostItemsToTopUp = 12;
constexpr std::int32_t kDefaultColumnHeight = 8;

}  // namespace

Form1::Form1(FormRuntime& form, WindowSystem& windows, DesktopFolderView& folder_view, FileServices& files,
             ResourceReader& resources, FolderPlatform& folders, WayBack& way_back)
    : desktop_(windows),
      windows_(windows),
      folder_view_(folder_view),
      form_(form),
      files_(files),
      resources_(resources),
      folders_(folders),
      way_back_(way_back) {}

void Form1::OnLoad() { Form_Load(); }

void Form1::OnUnload(std::int16_t& cancel) { Form_Unload(cancel); }

void Form1::OnClick(ControlId button) {
  switch (button) {
    case ControlId::Command1:
      Command1_Click();
      break;
    case ControlId::Command2:
      Command2_Click();
      break;
    case ControlId::Command3:
      Command3_Click();
      break;
    case ControlId::Command4:
      Command4_Click();
      break;
    default:  // "いいえ" and the labels have nothing to do
      break;
  }
}

void Form1::OnChange(ControlId control) {
  if (control == ControlId::Text1) {
    Text1_Change();
  } else if (control == ControlId::VScroll1) {
    VScroll1_Change();
  }
}

void Form1::OnTimer(ControlId timer) {
  if (timer == ControlId::Timer1) {
    Timer1_Timer();
  }
}

// Greyed until an arrangement has saved the desktop's layout, unless an
// earlier run left one.
void Form1::OnShown() { ShowRestoreCommand(); }

void Form1::OnMenuCommand(MenuCommand command) {
  if (command == MenuCommand::RestoreLayout) {
    RestoreLayout();
  }
}

// Another Corvella (a "/restore") may have used the saved layout meanwhile.
void Form1::OnMenuOpening() { ShowRestoreCommand(); }

void Form1::OnNotice(FormNotice notice) {
  if (notice == FormNotice::LayoutRestored) {
    ResumeNext([&] { form_.SetEnabled(ControlId::Timer1, false); });
  }
}

void Form1::Form_Load() {
  ResumeNext([&] { objFolder = std::make_unique<clsSystemFolder>(folders_); });
  ResumeNext([&] { desktop_.lngRows = kDefaultColumnHeight; });
  ResumeNext([&] { strDesktop = objFolder->Desktop(); });
  DeleteHeartIcons(files_, resources_, strDesktop);
}

void Form1::Form_Unload(std::int16_t& /*cancel*/) {
  unloaded_ = true;
  objFolder.reset();
}

void Form1::Command1_Click() {
  if (topping_up_ || !SaveLayoutFirst()) {
    return;
  }
  const BusyCursor busy(form_);
  ArrangeHeart();
}

void Form1::Command2_Click() {
  if (topping_up_ || !SaveLayoutFirst()) {
    return;
  }
  const BusyCursor busy(form_);
  DeleteHeartIcons(files_, resources_, strDesktop);
  PictureDrawn(desktop_.MoveIcons2());
}

void Form1::Command3_Click() {
  ResumeNext([&] { objFolder.reset(); });
  form_.EndProgram();
}

// The buttons as always, after a word if the view would undo the pictures.
void Form1::Command4_Click() {
  WarnOfSelfArrangement();
  form_.SetEnabled(ControlId::Command1, true);
  form_.SetEnabled(ControlId::Command2, true);
}

// Its own steps, so that nothing here keeps the buttons from being enabled.
void Form1::WarnOfSelfArrangement() {
  std::optional<SelfArrangement> arranging;
  ResumeNext([&] { arranging = ReadSelfArrangement(windows_); });
  if (!arranging) {
    return;
  }
  if (const std::string warning = SelfArrangementWarning(*arranging); !warning.empty()) {
    ResumeNext([&] { form_.ShowMessage(warning); });
  }
}

// A text that is no column height (empty while the user retypes, not a
// number, out of 16-bit range) keeps the last one.
void Form1::Text1_Change() {
  ResumeNext([&] { desktop_.lngRows = TextToInt16(form_.Text(ControlId::Text1)); });
}

// Setting the text runs Text1_Change nested, which sets lngRows.
void Form1::VScroll1_Change() {
  ResumeNext([&] { form_.SetText(ControlId::Text1, Int16ToText(form_.Value(ControlId::VScroll1))); });
}

// A tick whose count gets no answer waits for the next one, as one that
// counts twelve or fewer does; so does one whose heart gets no answer.
void Form1::Timer1_Timer() {
  if (!desktop_.CountDesktopItems()) {
    return;
  }
  if (desktop_.lngCount > kMostItemsToTopUp) {
    const BusyCursor busy(form_);
    if (!desktop_.MoveIcons()) {
      return;
    }
    // Off before any box: a tick inside it would draw the heart again.
    ResumeNext([&] { form_.SetEnabled(ControlId::Timer1, false); });
    PictureDrawn(true);
  }
}

// A count without an answer is no count of zero, nor is one that found no
// view (Explorer restarting): it writes no files.
void Form1::ArrangeHeart() {
  if (!desktop_.CountDesktopItems() || desktop_.hWndList == 0) {
    PictureDrawn(false);
    return;
  }
  if (desktop_.lngCount > kMostItemsToTopUp) {
    PictureDrawn(desktop_.MoveIcons());
  } else {
    CreateHeartIcons();
  }
}

// Writes 14 - lngCount heart icon files, handling the window's pending
// events after each, then arms the timer, whose ticks draw the heart once
// the shell shows the new files.
void Form1::CreateHeartIcons() {
  topping_up_ = true;
  std::int16_t last = -1;
  ResumeNext([&] { last = ToInt16(CheckedSub(kMostItemsToTopUp + 1, desktop_.lngCount)); });
  for (intIcon = 0; intIcon <= last; ++intIcon) {
    ResumeNext([&] { WriteResourceFile(files_, resources_, kHeartResource, HeartIconPath(strDesktop, intIcon + 1)); });
    ResumeNext([&] { form_.PumpMessages(); });
    if (unloaded_) {
      break;  // the window closed inside the pump: no more files, no timer
    }
  }
  topping_up_ = false;
  if (unloaded_) {
    return;
  }
  ResumeNext([&] { form_.SetEnabled(ControlId::Timer1, true); });
}

}  // namespace corvella
