// Which windows are worth a message: one that let a message time out is
// given up on for a while, so that a hung shell costs the program one
// time-out, not one for each of its many messages.
#pragma once

#include <cstdint>
#include <map>

#include "shell/window_system.hpp"

namespace corvella {

class HungWindows {
 public:
  // How long one message may wait for the window's answer.
  static constexpr std::uint32_t kAnswerWithinMs = 2000;
  // How long a window that timed out gets no message at all.
  static constexpr std::uint64_t kGiveUpForMs = 5000;

  [[nodiscard]] bool WorthSending(WindowHandle window, std::uint64_t now_ms) const;
  void TimedOut(WindowHandle window, std::uint64_t now_ms);
  void Answered(WindowHandle window);

 private:
  std::map<WindowHandle, std::uint64_t> given_up_until_;
};

}  // namespace corvella
