#pragma once

#include <array>

namespace vantrel::testing {

// The window as designed, written down independently of the layout data the fronts are built
// from, so that the Qt and the Windows window are both held to it.
enum class DesignedKind { Panel, Combo, Check, Button, Label, Edit, Track };

struct DesignedControl {
  const char* name;
  DesignedKind kind;
  int left, top, width, height;
  const char* text;  // the design text; nullptr where start-up sets it
  const char* face;
  int px;
  bool enabled;
  bool visible;
};

inline constexpr int kDesignedClientWidth = 379;
inline constexpr int kDesignedClientHeight = 154;
inline constexpr const char* kDesignedCaption = " Vantrel Ver.0.39b1";

// clang-format off
inline constexpr std::array<DesignedControl, 18> kDesignedControls{{
  {"PanelCpuType", DesignedKind::Panel, 0, 0, 177, 17, "書き込み制御ファイル", "ＭＳ Ｐゴシック", 13, true, true},
  {"ComboBoxCpuType", DesignedKind::Combo, 0, 16, 177, 21, nullptr, "ＭＳ ゴシック", 13, true, true},
  {"CheckBox2", DesignedKind::Check, 180, 2, 49, 17, "Snap", "ＭＳ ゴシック", 13, true, true},
  {"CheckBox1", DesignedKind::Check, 180, 20, 65, 17, "Verify", "ＭＳ ゴシック", 13, true, true},
  {"PanelComPort", DesignedKind::Panel, 245, 0, 65, 17, "COM Port", "ＭＳ ゴシック", 13, true, true},
  {"ComboBoxComPort", DesignedKind::Combo, 312, 0, 65, 21, nullptr, "ＭＳ ゴシック", 13, true, true},
  {"PanelBr1", DesignedKind::Panel, 245, 24, 65, 17, "Baud (B)", "ＭＳ ゴシック", 13, true, true},
  {"ComboBoxBr1", DesignedKind::Combo, 312, 24, 65, 21, nullptr, "ＭＳ ゴシック", 13, true, true},
  {"PanelBr2", DesignedKind::Panel, 245, 48, 65, 17, "Baud (P)", "ＭＳ ゴシック", 13, true, true},
  {"ComboBoxBr2", DesignedKind::Combo, 312, 48, 65, 21, nullptr, "ＭＳ ゴシック", 13, true, true},
  {"PAN_ROM_BASE", DesignedKind::Panel, 114, 38, 128, 16, nullptr, "ＭＳ ゴシック", 13, true, true},
  {"PAN_BLOCK_SIZE", DesignedKind::Panel, 114, 55, 128, 16, nullptr, "ＭＳ ゴシック", 13, true, true},
  {"Button5", DesignedKind::Button, 0, 50, 110, 24, "書き込むファイル", "ＭＳ Ｐゴシック", 13, true, true},
  {"Label1", DesignedKind::Label, 0, 72, 364, 13, "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "ＭＳ ゴシック", 13, true, false},
  {"Edit1", DesignedKind::Edit, 0, 74, 377, 21, nullptr, "ＭＳ ゴシック", 13, true, true},
  {"ButtonProgram", DesignedKind::Button, 0, 96, 110, 24, "書き込み開始", "ＭＳ Ｐゴシック", 13, true, true},
  {"Panel5", DesignedKind::Panel, 114, 96, 260, 24, nullptr, "ＭＳ Ｐゴシック", 12, true, true},
  {"TrackBar1", DesignedKind::Track, 0, 120, 377, 25, nullptr, "ＭＳ ゴシック", 13, false, true},
}};
// clang-format on

// The tab order, from the port selector round the window.
inline constexpr std::array<const char*, 9> kDesignedTabOrder{
    "ComboBoxComPort", "ComboBoxBr1", "ComboBoxBr2", "ComboBoxCpuType", "CheckBox1",
    "Button5",         "Edit1",       "ButtonProgram", "CheckBox2"};

}  // namespace vantrel::testing
