#include "shell/hung_windows.hpp"

namespace corvella {

bool HungWindows::WorthSending(WindowHandle window, std::uint64_t now_ms) const {
  const auto found = given_up_until_.find(window);
  return found == given_up_until_.end() || now_ms >= found->second;
}

void HungWindows::TimedOut(WindowHandle window, std::uint64_t now_ms) {
  given_up_until_[window] = now_ms + kGiveUpForMs;
}

void HungWindows::Answered(WindowHandle window) { given_up_until_.erase(window); }

}  // namespace corvella
