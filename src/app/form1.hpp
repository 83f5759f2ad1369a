// The main window's logic: its variables and its event handlers, which
// drive the whole program. The form runtime builds the window from the
// layout table and calls in here; everything else goes through the
// interfaces passed in.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/form1_controls.hpp"
#include "app/way_back.hpp"
#include "arrange/desktop_arrangement.hpp"
#include "files/file_services.hpp"
#include "files/resource_reader.hpp"
#include "folders/folder_platform.hpp"
#include "folders/system_folder.hpp"
#include "form/form_runtime.hpp"
#include "shell/desktop_folder_view.hpp"
#include "shell/desktop_view.hpp"

namespace corvella {

// The names are the program's own. Their prefixes give the kind of value:
// lng a signed 32-bit integer, sng a float, int a 16-bit integer, str a text,
// obj an object, cls a class; controls are their kind and a number.
class Form1 final : public FormEvents {
 public:
  Form1(FormRuntime& form, WindowSystem& windows, DesktopFolderView& folder_view, FileServices& files,
        ResourceReader& resources, FolderPlatform& folders, WayBack& way_back);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  void OnLoad() override;
  void OnUnload(std::int16_t& cancel) override;
  void OnClick(ControlId button) override;
  void OnChange(ControlId control) override;
  void OnTimer(ControlId timer) override;
  void OnShown() override;
  void OnMenuCommand(MenuCommand command) override;
  void OnMenuOpening() override;
  void OnNotice(FormNotice notice) override;

  // The desktop variables (lngRows, lngCount, hWndList, ...), for reading.
  [[nodiscard]] const DesktopArrangement& Desktop() const { return desktop_; }

  // The special folders, made at load and released at unload or exit.
  std::unique_ptr<clsSystemFolder> objFolder;
  // The number of the heart icon file being written, less one.
  std::int16_t intIcon = 0;
  // The desktop folder's path, without a trailing separator.
  std::string strDesktop;

 private:
  void Form_Load();                        // before the window shows: folders, height 8, cleanup
  void Form_Unload(std::int16_t& cancel);  // the window closes: releases objFolder
  void Command1_Click();                   // "ハート型に配置": the heart
  void Command2_Click();                   // "平行四辺形型に配置": cleanup, then the parallelogram
  void Command3_Click();                   // "終了": ends the program at once
  void Command4_Click();                   // "はい": enables both arrangement buttons
  void Text1_Change();                     // the column height was typed
  void VScroll1_Change();                  // the spinner moved: its value into Text1
  void Timer1_Timer();                     // draws the heart once the shell shows enough items

  void ArrangeHeart();            // the heart now, or a top-up first
  void CreateHeartIcons();        // writes the missing heart icon files, then arms Timer1
  void PictureDrawn(bool drawn);  // records the picture, or says the desktop did not answer or stopped

  void WarnOfSelfArrangement();  // "はい": a word when the view arranges itself
  bool SaveLayoutFirst();        // before an arrangement: the desktop's own layout; false to move nothing
  void RestoreLayout();          // "元の配置に戻す" or Ctrl+Z: that layout back
  void ShowRestoreCommand();     // the system menu item, greyed when nothing is saved
  void ShowRestoreCommand(const SavedLayoutSummary& summary);  // the same, from a read made already

  // The desktop list view and both pictures. A member, not a base, so that
  // MoveIcons and hWndList are not part of the window's face.
  DesktopArrangement desktop_;
  WindowSystem& windows_;
  DesktopFolderView& folder_view_;
  FormRuntime& form_;
  FileServices& files_;
  ResourceReader& resources_;
  FolderPlatform& folders_;
  WayBack& way_back_;
  // Whether the last arrangement's save left a layout to come back to: saved
  // then, or kept from earlier. The click's read itself stays with the way back.
  bool layout_saved_ = false;
  // Set while CreateHeartIcons pumps messages: a second top-up or a cleanup
  // must not start inside a running one.
  bool topping_up_ = false;
  // Set once the window has unloaded: a top-up that is still running stops.
  bool unloaded_ = false;
};

}  // namespace corvella
