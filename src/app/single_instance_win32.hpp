// One Corvella window per user session: a second one would delete the heart
// icon files that the first is waiting for the shell to show.
#pragma once

#include <windows.h>

#include <string>

#include "core/scoped_handle_win32.hpp"

namespace corvella {

class SingleInstance {
 public:
  // Claims the session's one place for a Corvella window.
  SingleInstance();

  // Whether no other Corvella of this session held the place already.
  [[nodiscard]] bool IsFirst() const { return first_; }

 private:
  ScopedKernelObject mutex_;
  bool first_ = true;
};

// Shows the running window of that class in front, restored if minimized.
void BringWindowToFront(const std::wstring& class_name);

}  // namespace corvella
