// The window's part of the way back: the save before an arrangement, the
// folder view told and the record made after it, the restore and the system
// menu's command.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/busy_cursor.hpp"
#include "app/form1.hpp"
#include "app/way_back_messages.hpp"
#include "core/resume_next.hpp"

namespace corvella {
namespace {

constexpr std::string_view kDesktopNotAnswering =
    "デスクトップが応答していません。アイコンは動かしていません。少し待ってから、もう一度試してください。";

}  // namespace

// Records where a picture put the items; a picture whose count got no
// answer, or that found no view to send to, moved nothing, and the user is
// told to try again. A picture drawn whole is told to the shell's folder view
// too, as the click's check allows; one the view stopped answering during is
// not, the shell having just stalled, and is told with what it moved and
// recorded from the click's read and those moves: a read-back would wait on
// the view again.
void Form1::PictureDrawn(bool drawn) {
  if (!drawn || desktop_.hWndList == 0) {
    ResumeNext([&] { form_.ShowMessage(kDesktopNotAnswering); });
    return;
  }
  if (!desktop_.CutShort()) {
    ResumeNext([&] { folder_view_.Follow(desktop_.MovesSent(), desktop_.lngCount); });
    ResumeNext([&] { way_back_.RecordPicture(desktop_.hWndList, desktop_.MovesSent()); });
    return;
  }
  const std::vector<ItemMove>& moves = desktop_.MovesSent();
  ResumeNext([&] { way_back_.RecordMovesSent(moves); });
  // A heart also sends moves to indexes the view does not hold.
  const auto moved = static_cast<std::size_t>(
      std::count_if(moves.begin(), moves.end(), [&](const ItemMove& move) { return move.index < desktop_.lngCount; }));
  ResumeNext([&] { form_.ShowMessage(ArrangementCutShortReport(moved, desktop_.lngCount, layout_saved_)); });
}

// A layout saved and never restored is kept: the desktop may still show an
// earlier picture. A save that fails is told before anything moves, and
// the user decides whether to arrange without a way back.
bool Form1::SaveLayoutFirst() {
  std::optional<SaveDone> done;
  {
    const BusyCursor busy(form_);
    ResumeNext([&] { done = way_back_.SaveUnlessPending(); });
  }
  if (done) {
    ShowRestoreCommand(done->summary);  // the save read the file: no second read
  } else {
    ShowRestoreCommand();
  }
  layout_saved_ = done && (done->outcome == SaveOutcome::Saved || done->outcome == SaveOutcome::KeptEarlier);
  // A save that did not come to an end is told as one that could not read.
  const SaveOutcome outcome = done ? done->outcome : SaveOutcome::ReadFailed;
  // Without a view the heart's files would land among the user's icons,
  // to be drawn over them once it is back (Explorer restarting).
  if (outcome == SaveOutcome::NoDesktopView) {
    ResumeNext([&] { form_.ShowMessage(kDesktopNotAnswering); });
    return false;
  }
  std::string question;
  ResumeNext([&] { question = SaveFailureQuestion(outcome, way_back_.Location()); });
  if (question.empty()) {
    return true;
  }
  bool arrange = false;
  ResumeNext([&] { arrange = form_.AskYesNo(question); });
  return arrange;
}

// The heart that waits for its files is called off: it would come back.
void Form1::RestoreLayout() {
  if (topping_up_) {
    return;
  }
  ResumeNext([&] { form_.SetEnabled(ControlId::Timer1, false); });
  std::optional<RestoreDone> done;
  std::optional<std::string> fault;
  {
    const BusyCursor busy(form_);
    fault = ResumeNextWithFault([&] { done = way_back_.Restore(strDesktop); });
  }
  if (!done) {
    // The fault is told as it is: nothing here says the file is gone.
    SavedLayoutSummary summary;
    ResumeNext([&] { summary = way_back_.Summary(); });
    ResumeNext([&] { form_.ShowMessage(RestoreFaultReport(fault.value_or(""), summary.present)); });
    ShowRestoreCommand(summary);
    return;
  }
  if (const std::string report = RestoreReport(done->result); !report.empty()) {
    ResumeNext([&] { form_.ShowMessage(report); });
  }
  ShowRestoreCommand(done->summary);  // the restore read the file: no second read
}

void Form1::ShowRestoreCommand() {
  ResumeNext([&] { ShowRestoreCommand(way_back_.Summary()); });
}

void Form1::ShowRestoreCommand(const SavedLayoutSummary& summary) {
  ResumeNext([&] { form_.SetMenuCommand(MenuCommand::RestoreLayout, RestoreMenuCaption(summary), summary.present); });
}

}  // namespace corvella
