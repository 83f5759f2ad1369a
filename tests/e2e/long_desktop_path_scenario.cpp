// A desktop folder whose path comes near MAX_PATH or passes it: the heart
// icon files are written whole, with the heart icon's bytes, in the folder
// Corvella was given, or not at all; no cut-off name turns up in that
// folder, in any folder above it, in Corvella's own folder or at a drive's
// root.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "scenario_steps.hpp"
#include "scenarios.hpp"
#include "user_desktop_folder.hpp"

namespace corvella::e2e {
namespace {

using std::chrono::seconds;

// Corvella reads the desktop folder's path into 256 characters with its
// NUL: a longer path is no desktop folder to it.
constexpr std::size_t kLongestPathCorvellaReads = 255;
constexpr int kItems = 5;
constexpr int kHeartFiles = 14 - kItems;

std::wstring WithoutLengthLimit(const std::wstring& path) { return L"\\\\?\\" + path; }

// New folders under C:\, one inside the other, the deepest of them exactly
// `length` characters long. They are made and removed through names without
// the MAX_PATH limit, with whatever files are left in them.
class DeepFolder {
 public:
  explicit DeepFolder(std::size_t length) {
    // Segments of up to 60 characters; the last takes the rest, at least 11.
    constexpr std::size_t kSegment = 60;
    std::wstring path = L"C:\\Corvella 長いデスクトップ";
    Make(path);
    for (int level = 1; path.size() < length; ++level) {
      const std::size_t left = length - path.size();
      std::wstring segment = L"\\奥" + std::to_wstring(level) + L"-";
      segment.resize(left > kSegment + 10 ? kSegment : left, L'x');
      path += segment;
      Make(path);
    }
  }
  ~DeepFolder() {
    for (auto folder = chain_.rbegin(); folder != chain_.rend(); ++folder) {
      for (const std::wstring& name : FilesIn(WithoutLengthLimit(*folder))) {
        ::DeleteFileW(WithoutLengthLimit(*folder + L"\\" + name).c_str());
      }
      ::RemoveDirectoryW(WithoutLengthLimit(*folder).c_str());
    }
  }
  DeepFolder(const DeepFolder&) = delete;
  DeepFolder& operator=(const DeepFolder&) = delete;

  [[nodiscard]] const std::wstring& Path() const { return chain_.back(); }
  // From the top folder down to the deepest.
  [[nodiscard]] const std::vector<std::wstring>& Chain() const { return chain_; }

 private:
  void Make(const std::wstring& path) {
    if (!::CreateDirectoryW(WithoutLengthLimit(path).c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
      throw ScenarioFailed("cannot make the folder " + ToUtf8(path));
    }
    chain_.push_back(path);
  }

  std::vector<std::wstring> chain_;
};

// The shell's desktop folder, or "" when it reports none.
std::wstring ReportedDesktopFolder() {
  try {
    return DesktopFolder();
  } catch (const ScenarioFailed&) {
    return {};
  }
}

// A heart icon file's name or its start, "P" to "Plim14.ico", as a cut-off
// path would leave it.
bool IsHeartNameOrPartOfOne(const std::wstring& name) {
  for (const std::wstring& heart : HeartFileNames(14)) {
    if (!name.empty() && name.size() <= heart.size() && ::_wcsnicmp(name.c_str(), heart.c_str(), name.size()) == 0) {
      return true;
    }
  }
  return false;
}

std::size_t CountMessages(const StandInReport& report) {
  std::size_t counts = 0;
  for (const LoggedMessage& entry : report.log) {
    counts += entry.message == kGetItemCount ? 1 : 0;
  }
  return counts;
}

std::string Quoted(const std::vector<std::wstring>& names) {
  std::string text;
  for (const std::wstring& name : names) {
    text += (text.empty() ? "\"" : ", \"") + ToUtf8(name) + "\"";
  }
  return text;
}

// The desktop folder holds every heart icon file due, whole and with the
// heart icon's bytes, or none of them.
void ExpectAllOrNoHeartFiles(ScenarioRun& run, const std::wstring& folder, const std::vector<std::wstring>& found,
                             const std::string& label) {
  if (found.empty()) {
    return;
  }
  run.Expect(found == Sorted(HeartFileNames(kHeartFiles)),
             label + ": the desktop folder should hold Plim1.ico to Plim" + std::to_string(kHeartFiles) +
                 ".ico or nothing, not " + Quoted(found));
  std::string heart;
  if (!ReadBytes(run.paths.heart_icon, heart)) {
    throw ScenarioFailed("cannot read the heart icon " + ToUtf8(run.paths.heart_icon));
  }
  for (const std::wstring& name : found) {
    std::string bytes;
    run.Expect(ReadBytes(WithoutLengthLimit(folder + L"\\" + name), bytes) && bytes == heart,
               label + ": " + ToUtf8(name) + " should hold the heart icon's bytes");
  }
}

// What the note says of the desktop folder's files.
std::string WhatWasWritten(const std::wstring& folder, const std::vector<std::wstring>& found) {
  if (folder.empty()) {
    return "Corvella takes no desktop folder from it and wrote no heart icon file";
  }
  if (found.empty()) {
    return "no heart icon file was written there";
  }
  if (found == Sorted(HeartFileNames(kHeartFiles))) {
    return "Corvella wrote Plim1.ico to Plim" + std::to_string(kHeartFiles) + ".ico there under whole names of " +
           std::to_string(folder.size() + std::wstring(L"\\Plim1.ico").size()) + " characters";
  }
  return "the folder holds " + Quoted(found);
}

// One desktop folder path of `length` characters: five items, はい, the
// heart, and the files checked once the top-up is over.
void HeartOnPathOfLength(ScenarioRun& run, std::size_t length) {
  const std::string label = std::to_string(length) + " characters";
  const std::wstring usual = run.desktop;
  const std::wstring own_folder = run.paths.corvella.substr(0, run.paths.corvella.find_last_of(L'\\'));
  const DeepFolder deep(length);
  {
    const UserDesktopFolder pointed(deep.Path());
    const std::wstring reported = ReportedDesktopFolder();
    if (length < MAX_PATH && reported != deep.Path()) {
      throw ScenarioFailed(label + ": the shell reports the desktop folder " + ToUtf8(reported) + ", not the one set");
    }
    const std::wstring heart_folder = reported.size() <= kLongestPathCorvellaReads ? reported : L"";
    StandIn desktop(run.paths.standin, Arguments(kItems), run.paths.scratch);
    CorvellaWindow corvella(run.paths, desktop);
    AnswerYes(run, desktop, corvella);
    ClickCentre(corvella.heart);
    // The timer starts once every file has been tried: after the save the
    // click counts, then a tick counts, and either ticks go on or the heart
    // counts again.
    desktop.WaitFor([](const StandInReport& r) { return CountMessages(AfterTheSave(r)) >= 3; },
                    label + ": the timer after the top-up");

    const std::vector<std::wstring> found =
        heart_folder.empty() ? std::vector<std::wstring>{} : Sorted(FilesIn(WithoutLengthLimit(heart_folder)));
    ExpectAllOrNoHeartFiles(run, heart_folder, found, label);
    const std::string where = reported.empty()          ? "no desktop folder"
                              : reported == deep.Path() ? "the long folder"
                                                        : ToUtf8(reported);
    run.notes.push_back(label + ": the shell reports " + where + "; " + WhatWasWritten(heart_folder, found));

    // The folders made for the path hold nothing but each other; elsewhere
    // no name may even start like a heart icon file's.
    for (const std::wstring& folder : deep.Chain()) {
      if (folder != heart_folder) {
        const std::vector<std::wstring> stray = FilesIn(WithoutLengthLimit(folder));
        run.Expect(stray.empty(), label + ": " + ToUtf8(folder) + " should hold no file, not " + Quoted(stray));
      }
    }
    for (const std::wstring& folder : {std::wstring(L"C:"), own_folder, own_folder.substr(0, 2), usual}) {
      if (folder == heart_folder) {
        continue;
      }
      for (const std::wstring& name : FilesIn(WithoutLengthLimit(folder))) {
        run.Expect(!IsHeartNameOrPartOfOne(name), label + ": \"" + ToUtf8(name) + "\" should not be in " +
                                                      ToUtf8(folder) + ", away from the desktop folder");
      }
    }

    if (!found.empty()) {
      desktop.WaitFor([](const StandInReport& r) { return PositionMessages(r) >= 14; },
                      label + ": the heart with the heart icon files", seconds(15));
      ClickCentre(corvella.parallelogram);
      run.Expect(WaitUntil([&] { return FilesIn(WithoutLengthLimit(heart_folder)).empty(); }, seconds(10)),
                 label + ": the parallelogram should delete the heart icon files again");
    }
  }
  run.Expect(DesktopFolder() == usual, label + ": the usual desktop folder should be back");
}

}  // namespace

void LongDesktopFolderPath(ScenarioRun& run) {
  // "\Plim1.ico" takes the whole name past MAX_PATH; a path too long for
  // Corvella's folder read, though the shell reports it; one past MAX_PATH,
  // for which Windows reports no desktop folder and Wine its default one.
  for (const std::size_t length : {250U, 258U, 270U}) {
    HeartOnPathOfLength(run, length);
  }
}

}  // namespace corvella::e2e
