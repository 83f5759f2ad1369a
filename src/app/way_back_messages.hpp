// Every word the way back says to the user, and the exit codes of
// "Corvella.exe /restore": the window and the command line take them from
// here, so that the way back's rooms below hold no text of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/way_back.hpp"
#include "restore/layout_files.hpp"

namespace corvella {

// "元の配置に戻す" and, when the saved file tells, the time it was saved.
std::string RestoreMenuCaption(const SavedLayoutSummary& summary);
// The question a failed save asks before anything moves: why, where the
// layout is kept, and whether to arrange without a way back. Empty when the
// way back holds, and without a desktop view, where nothing would move.
std::string SaveFailureQuestion(SaveOutcome outcome, std::string_view location);
// What to tell the user after a restore; empty when every saved item is back
// where it was saved.
std::string RestoreReport(const RestoreResult& result);
// What to tell the user when a restore stopped at a fault of its own: the
// fault's text, and whether the saved layout is still there for another try.
std::string RestoreFaultReport(std::string_view fault, bool layout_kept);
// What to tell the user when the desktop stopped answering during an
// arrangement: how many of its `count` items moved, and, when a layout was
// saved before, that 元の配置に戻す brings it back.
std::string ArrangementCutShortReport(std::size_t moved, std::int32_t count, bool layout_saved);
// The exit code of "Corvella.exe /restore": 0 when the layout is back.
int RestoreExitCode(RestoreOutcome outcome);

}  // namespace corvella
