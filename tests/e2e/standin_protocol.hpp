// How the end-to-end tools talk to the desktop stand-in: the commands that
// its "Progman" window takes as WM_COPYDATA, and the report it writes, with
// a reader for that report. Shared by the stand-in, the driver and the
// end-to-end benchmark.
#pragma once

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace corvella::e2e {

// WM_COPYDATA dwData values understood by the stand-in's "Progman" window.
enum class StandInCommand : ULONG_PTR {
  // lpData: a NUL-terminated UTF-16 path; the report is written there.
  WriteReport = 1,
  // Forgets every message recorded so far.
  ClearLog = 2,
  // Answers how many messages are recorded: a cheap question to poll while
  // a measurement runs, where a whole report would disturb it.
  CountLog = 3,
  // lpData: a std::uint32_t of milliseconds. Once this command has been
  // answered, the stand-in's window thread stops answering for that long,
  // as a hung shell does.
  Hang = 4,
  // Starts following the desktop folder, for a stand-in started with
  // --frozen: files written meanwhile then appear as one batch.
  FollowFolder = 5,
  // lpData: a StallRequest. The list view stops answering for that long when
  // that message reaches it from another process, before it handles it.
  StallAt = 6,
  // No window under "Progman" or a "WorkerW" leads to the view until it is
  // brought back, as while Explorer restarts.
  LoseView = 7,
  BringViewBack = 8,
};

struct StallRequest {
  std::uint32_t millis = 0;
  std::uint32_t message = 0;
  std::uint32_t after = 0;  // messages of that kind to let pass first
};

// One message that reached the list view from another process.
struct LoggedMessage {
  std::uint32_t message = 0;
  std::uint32_t wparam = 0;
  std::int32_t lparam = 0;
  std::int32_t result = 0;
  // Microseconds since the stand-in started, taken when the message arrived.
  std::int64_t micros = 0;
};

struct ShownItem {
  int x = 0;
  int y = 0;
  std::string text;  // UTF-8
};

// What the stand-in shows and what it has been sent, at one moment.
struct StandInReport {
  // The list view's window style and its extended list-view style.
  std::uint32_t style = 0;
  std::uint32_t extended_style = 0;
  std::vector<ShownItem> items;
  std::vector<LoggedMessage> log;
  // Whether the list view draws, as WM_SETREDRAW last left it.
  bool redraw_on = false;
  // Messages from another process whose lParam pointed at memory that the
  // stand-in's process no longer held; the view did not handle them.
  std::vector<LoggedMessage> stale_pointers;
};

inline std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), length, nullptr, nullptr);
  return result;
}

inline std::wstring ToUtf16(const std::string& text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, result.data(), length);
  return result;
}

inline constexpr std::uint32_t kGetItemCount = 0x1004;     // LVM_GETITEMCOUNT
inline constexpr std::uint32_t kSetItemPosition = 0x100F;  // LVM_SETITEMPOSITION

// The report is plain text, one record a line:
//   style <window style> <extended list-view style>
//   item <x> <y> <text>
//   message <id> <wparam> <lparam> <result> <micros>
//   redraw <0 or 1>
//   stale <id> <wparam> <lparam>
inline bool ReadStandInReport(const std::wstring& path, StandInReport& report) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) {
    return false;
  }
  report = {};
  std::string line;
  bool complete = false;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string kind;
    fields >> kind;
    if (kind == "style") {
      fields >> report.style >> report.extended_style;
    } else if (kind == "item") {
      ShownItem item;
      fields >> item.x >> item.y;
      fields.get();
      std::getline(fields, item.text);
      report.items.push_back(item);
    } else if (kind == "message") {
      LoggedMessage entry;
      fields >> entry.message >> entry.wparam >> entry.lparam >> entry.result >> entry.micros;
      report.log.push_back(entry);
    } else if (kind == "redraw") {
      fields >> report.redraw_on;
    } else if (kind == "stale") {
      LoggedMessage entry;
      fields >> entry.message >> entry.wparam >> entry.lparam;
      report.stale_pointers.push_back(entry);
    } else if (kind == "end") {
      complete = true;
    }
  }
  return complete;
}

}  // namespace corvella::e2e
