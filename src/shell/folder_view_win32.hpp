// The desktop's folder view over the shell's COM objects, found the
// documented way for each piece of work, on a thread of its own with an
// apartment of its own, and waited for while the window keeps answering.
#pragma once

#include "shell/folder_view.hpp"

namespace corvella {

class Win32FolderViewHost final : public FolderViewHost {
 public:
  FolderViewRun Run(std::function<bool(FolderView&)> work, std::uint32_t wait_ms) override;
};

}  // namespace corvella
