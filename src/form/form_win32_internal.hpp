// What the Win32 form's source files share and nothing outside src/form
// uses: the window's style, the ids of its controls, the text of a window
// and the message that carries notices between runs.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "form/control_id.hpp"
#include "form/control_layout.hpp"

namespace corvella::form_win32 {

// Clear of IDOK and IDCANCEL, which the dialog manager sends for Enter and
// Escape: no button of the window is the default or the cancel button.
inline constexpr int kFirstCommandId = 100;
inline constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
inline constexpr DWORD kWindowExStyle = 0;

inline std::size_t IndexOf(ControlId control) { return static_cast<std::size_t>(control); }

inline int CommandIdOf(ControlId control) { return kFirstCommandId + static_cast<int>(control); }

inline std::wstring ToWide(std::u16string_view text) { return {text.begin(), text.end()}; }

inline std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

// The message that carries a notice between the runs of the program: its
// name is the form's own, so that no other program's window takes it.
UINT NoticeMessage(const FormLayout& layout);

}  // namespace corvella::form_win32
