// The driver's side of the desktop stand-in: starts it on the current
// desktop folder, asks it for its report, clears its log, and waits for
// what it shows to settle.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "driver_windows.hpp"
#include "standin_protocol.hpp"

namespace corvella::e2e {

class StandIn {
 public:
  // Starts the stand-in (arguments as its command line takes them) and
  // waits until its desktop shows.
  StandIn(const std::wstring& exe, const std::wstring& arguments, const std::wstring& scratch_folder);

  StandInReport Report() const;
  void ClearLog() const;
  std::size_t LogSize() const;
  // The stand-in stops answering for that long once it has answered this.
  void Hang(std::chrono::milliseconds length) const;
  // The view stops answering for that long when the message of that kind
  // after `after` others reaches it.
  void StallAt(std::uint32_t message, std::uint32_t after, std::chrono::milliseconds length) const;
  // The view is lost, as while Explorer restarts, or back again.
  void LoseView(bool lost) const;
  // A stand-in started with --frozen shows the folder's files from now on.
  void FollowFolder() const;
  // Polls the report until the condition holds; throws with the last
  // report's summary when it does not within the time.
  StandInReport WaitFor(const std::function<bool(const StandInReport&)>& condition, const std::string& what,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

  [[nodiscard]] const ChildProcess& Process() const { return *process_; }

 private:
  std::unique_ptr<ChildProcess> process_;
  HWND progman_ = nullptr;
  std::wstring report_path_;
};

// The desktop folder as the shell reports it in this session.
std::wstring DesktopFolder();
std::vector<std::wstring> FilesIn(const std::wstring& folder);
void EmptyFolder(const std::wstring& folder);
bool ReadBytes(const std::wstring& path, std::string& bytes);
void WriteBytes(const std::wstring& path, const std::string& bytes);
// A file of that size that takes no room on disk: only its end is set.
void WriteSparseFile(const std::wstring& path, std::uint64_t size);
// The file's size, or nothing when it cannot be read.
std::optional<std::uint64_t> FileSize(const std::wstring& path);

}  // namespace corvella::e2e
