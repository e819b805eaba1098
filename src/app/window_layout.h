#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "app/window_controls.h"

namespace vantrel {

enum class ControlId {
  PanelCpuType,
  ComboBoxCpuType,
  CheckBox2,
  CheckBox1,
  PanelComPort,
  ComboBoxComPort,
  PanelBr1,
  ComboBoxBr1,
  PanelBr2,
  ComboBoxBr2,
  PAN_ROM_BASE,
  PAN_BLOCK_SIZE,
  Button5,
  Label1,
  Edit1,
  ButtonProgram,
  Panel5,
  TrackBar1,
};

enum class ControlKind { Panel, ComboBox, CheckBox, Button, Label, Edit, TrackBar };
enum class Bevel { None, Raised, Lowered };
enum class Face { Gothic, PGothic };

// One control of the window as designed: client pixels, design text and items, font, look.
struct ControlLayout {
  ControlId id;
  std::string_view name;
  ControlKind kind;
  int left, top, width, height;
  std::string_view text;
  std::span<const std::string_view> items;
  Face face = Face::Gothic;
  int fontPx = 13;
  Bevel bevel = Bevel::None;
  bool alignLeft = false;  // panels centre their caption otherwise
  int dropDownRows = 8;
  int tabOrder = -1;  // -1: not a tab stop
  bool visible = true;
  bool enabled = true;
};

inline constexpr int kControlCount = 18;
inline constexpr int kClientWidth = 379;
inline constexpr int kClientHeight = 154;
inline constexpr int kTrackBarTickEvery = 10;
inline constexpr std::string_view kFaceNames[] = {"ＭＳ ゴシック", "ＭＳ Ｐゴシック"};
inline constexpr std::string_view kOpenDialogTitle = "書き込むファイルを選択してください";
inline constexpr std::string_view kOpenDialogFilter =
    "Object Files (*.MOT, *.S)|*.mot; *.s|MOT Files (*.MOT)|*.mot|S Files (*.S)|*.s|"
    "All Files (*.*)|*.*";

// Every control, in creation order.
std::span<const ControlLayout> WindowLayout();
const ControlLayout& LayoutOf(ControlId id);
// The tab stops in their order.
std::vector<ControlId> TabOrder();
// Where the focus starts when the window is shown: the first tab stop that can take it.
ControlId FirstTabStop(const WindowControls& controls);

// The models as the window is created: design texts, items and enabling from the layout.
void LoadDesign(WindowControls& controls);

// What a front draws of one control, whatever its kind.
struct ControlState {
  std::string_view text;
  const std::vector<std::string>* items = nullptr;
  bool checked = false;
  bool enabled = true;
  bool greyed = false;
  int position = 0;
};
ControlState StateOf(const WindowControls& controls, ControlId id);

}  // namespace vantrel
