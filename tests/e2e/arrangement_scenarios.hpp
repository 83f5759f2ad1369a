// The arrangement scenarios: the heart and the parallelogram as the desktop
// shows them, for many items and few, and the column height they take.
#pragma once

#include "scenarios.hpp"

namespace corvella::e2e {

// The stand-in itself: it records what it is sent, places items as a list
// view does and follows the desktop folder in batches.
void StandInFollowsFolderAndRecords(ScenarioRun& run);
// Thirty items: the heart and columns of eight, no heart icon files.
void HeartFromThirty(ScenarioRun& run);
// Five items: nine heart icon files top the desktop up for the heart.
void HeartFromFiveItems(ScenarioRun& run);
// The parallelogram after the heart from five items takes the files away.
void ParallelogramAfterHeart(ScenarioRun& run);
// Column heights typed: whole, negative, fractional and no number.
void ColumnHeightsTyped(ScenarioRun& run);
// Column heights from the spinner's arrows, and after typing.
void ColumnHeightFromSpinner(ScenarioRun& run);
// The heart on a desktop whose view lives under WorkerW.
void WorkerWPlacement(ScenarioRun& run);
// Plim files that are the user's survive the heart and the parallelogram.
void UsersOwnPlimSurvives(ScenarioRun& run);
// Icons at 200 % (spacing 150): the heart and its grid twice the size.
void HeartAt200Percent(ScenarioRun& run);
// Icons at 150 % (spacing 113): the parallelogram one and a half times the size.
void ParallelogramAt150Percent(ScenarioRun& run);
// The view starts on a screen left of and above the main one, at
// (-300, -200): the heart starts at the main screen's corner, (300, 200)
// in the view.
void HeartFromTheMainScreensCorner(ScenarioRun& run);

}  // namespace corvella::e2e
