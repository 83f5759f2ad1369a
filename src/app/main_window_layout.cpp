#include "app/main_window_layout.hpp"

#include <array>

#include "resource.h"

namespace corvella {
namespace {

constexpr ControlLayout Button(ControlId id, std::string_view name, std::u16string_view caption, int left, int top,
                               int width, int height, int tab_index, bool enabled) {
  return {id, name, ControlKind::PushButton, caption, left, top, width, height, tab_index, enabled, false, 0, 0, 0, 0};
}

// The sizes given are those the captions need; the label sizes itself to its
// caption when it is shown.
constexpr ControlLayout Label(ControlId id, std::string_view name, std::u16string_view caption, int left, int top,
                              int width, int height, int tab_index) {
  return {id, name, ControlKind::Label, caption, left, top, width, height, tab_index, true, true, 0, 0, 0, 0};
}

constexpr std::array kControls{
    Button(ControlId::Command1, "Command1", u"ハート型に配置", 90, 690, 2325, 465, 0, false),
    Button(ControlId::Command2, "Command2", u"平行四辺形型に配置", 120, 1260, 2295, 480, 1, false),
    Button(ControlId::Command3, "Command3", u"終了", 3135, 1275, 1305, 450, 2, true),
    ControlLayout{ControlId::Text1, "Text1", ControlKind::TextBox, u"8", 3435, 735, 330, 330, 3, true, false, 0, 0, 0,
                  0},
    Label(ControlId::Label1, "Label1", u"たて", 2910, 810, 330, 180, 4),
    Label(ControlId::Label2, "Label2", u"列", 4155, 825, 180, 180, 5),
    ControlLayout{ControlId::VScroll1, "VScroll1", ControlKind::VerticalScrollBar, u"", 3765, 750, 300, 345, 6, true,
                  false, 0, 30, 8, 0},
    Label(ControlId::Label3, "Label3", u"アイコンの自動整列を解除しましたか。", 120, 180, 2925, 180, 7),
    Button(ControlId::Command4, "Command4", u"はい", 3120, 135, 690, 315, 8, true),
    Button(ControlId::Command5, "Command5", u"いいえ", 3885, 135, 735, 315, 9, true),
    ControlLayout{ControlId::Timer1, "Timer1", ControlKind::Timer, u"", 0, 0, 0, 0, -1, false, false, 0, 0, 0, 500},
};

// Ctrl+Z is the way back, as the system menu's "元の配置に戻す".
constexpr std::array kShortcuts{MenuShortcut{MenuCommand::RestoreLayout, 'Z'}};

constexpr FormLayout kForm1{"Form1", u"Corvella", 4680, 1875, kControls, CORVELLA_ICON_GROUP, kShortcuts};

}  // namespace

const FormLayout& MainWindowLayout() { return kForm1; }

}  // namespace corvella
