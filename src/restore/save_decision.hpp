// Whether an arrangement saves the desktop's layout or keeps the one saved
// earlier: a pending layout is kept only while the desktop still shows the
// picture Corvella drew over it, so that a layout the user has made since is
// saved and not lost.
#pragma once

#include <optional>
#include <span>

#include "restore/layout_files.hpp"
#include "restore/saved_layout.hpp"
#include "shell/view_reader.hpp"

namespace corvella {

enum class SaveDecision {
  SaveDesktop,
  KeepPending,
};

// `pending` is the layout saved and not yet restored, none when there is
// none or its file does not read whole; `record` the record of where
// Corvella's last arrangement put each item, none when there is none, it
// does not read whole or it may be stale; `desktop` the items the view
// shows now, in index order. A pending layout of which no item is on the
// desktop any more is never kept. Without a record, or with one of a
// picture drawn over another layout, the pending layout is kept, as a
// Corvella that made no record always did: a picture is never saved as the
// user's layout on the word of a record that may not be of it.
SaveDecision DecideSave(const std::optional<SavedLayout>& pending, const std::optional<RecordedPicture>& record,
                        std::span<const ViewItem> desktop);

}  // namespace corvella
