#include "app/single_instance_win32.hpp"

namespace corvella {
namespace {

// "Local\" scopes the name to the user's session.
constexpr const wchar_t* kMutexName = L"Local\\Corvella.MainWindow";

}  // namespace

SingleInstance::SingleInstance() : mutex_(::CreateMutexW(nullptr, FALSE, kMutexName)) {
  // Without the mutex nothing is known of others; the window opens as before.
  first_ = !mutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void BringWindowToFront(const std::wstring& class_name) {
  const HWND running = ::FindWindowW(class_name.c_str(), nullptr);
  if (running == nullptr) return;
  if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
  ::SetForegroundWindow(running);
}

}  // namespace corvella
