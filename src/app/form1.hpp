// The main window's logic: its variables and its event handlers, which
// drive the whole program. The form runtime builds the window from the
// layout table and calls in here; everything else goes through the
// interfaces passed in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "arrange/desktop_arrangement.hpp"
#include "folders/folder_platform.hpp"
#include "folders/system_folder.hpp"
#include "runtime/file_services.hpp"
#include "runtime/form_runtime.hpp"
#include "runtime/resource_reader.hpp"

namespace corvella {

class Form1 final : public DesktopArrangement, public FormEvents {
 public:
  Form1(FormRuntime& form, WindowSystem& windows, FileServices& files, ResourceReader& resources,
        FolderPlatform& folders);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  void OnLoad() override;
  void OnUnload(std::int16_t& cancel) override;
  void OnClick(ControlId button) override;
  void OnChange(ControlId control) override;
  void OnTimer(ControlId timer) override;

  // The window's variables beyond the desktop ones it inherits.
  std::unique_ptr<clsSystemFolder> objFolder;
  std::int16_t intIcon = 0;
  std::string strDesktop;

 private:
  void Form_Load();
  void Form_Unload(std::int16_t& cancel);
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Text1_Change();
  void VScroll1_Change();
  void Timer1_Timer();

  void ArrangeHeart();
  void CreateHeartIcons();

  FormRuntime& form_;
  FileServices& files_;
  ResourceReader& resources_;
  FolderPlatform& folders_;
  // Set while CreateHeartIcons pumps messages: a second top-up or a cleanup
  // must not start inside a running one.
  bool topping_up_ = false;
};

}  // namespace corvella
