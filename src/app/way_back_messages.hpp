// Every word the way back says to the user, and the exit codes of
// "Corvella.exe /restore": the window and the command line take them from
// here, so that the way back's rooms below hold no text of their own.
#pragma once

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
// The exit code of "Corvella.exe /restore": 0 when the layout is back.
int RestoreExitCode(RestoreOutcome outcome);

}  // namespace corvella
