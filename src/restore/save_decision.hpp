// Whether an arrangement saves the desktop's layout or keeps the one saved
// earlier: a pending layout is kept only while the desktop still shows the
// picture Corvella drew over it, so that a layout the user has made since is
// saved and not lost.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "shell/view_reader.hpp"

namespace corvella {

enum class SaveDecision {
  SaveDesktop,
  KeepPending,
};

// `pending` is the text of the layout saved and not yet restored, nullopt
// when there is none; `picture` the record of where Corvella's last
// arrangement put each item, in the same format, nullopt when there is none;
// `desktop` the items the view shows now, in index order. A pending layout
// that does not read, or of which no item is on the desktop any more, is
// never kept. Without a record (or with one that does not read) the pending
// layout is kept, as a Corvella that made no record always did.
SaveDecision DecideSave(std::optional<std::string_view> pending, std::optional<std::string_view> picture,
                        std::span<const ViewItem> desktop);

}  // namespace corvella
