#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// Light models of the window's controls. The fronts draw them; the core reads and writes them.
// Their design texts and items come from the window layout when the window is created.
struct PanelModel {
  std::string caption;
  bool enabled = true;
  bool greyed = false;  // caption in the system's disabled-text colour
};

struct ComboBoxModel {
  std::string text;
  std::vector<std::string> items;
  bool enabled = true;
};

struct CheckBoxModel {
  std::string caption;
  bool checked = false;
  bool enabled = true;
};

struct ButtonModel {
  std::string caption;
  bool enabled = true;
};

struct EditModel {
  std::string text;
  bool enabled = true;
};

struct TrackBarModel {
  std::int32_t position = 0;
  std::int32_t min = 0;
  std::int32_t max = 1000;
};

// The window itself: its outer rectangle on the screen, which the front keeps up to date.
struct FormModel {
  std::string caption;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 379;
  std::int32_t height = 154;
  bool acceptsDrops = false;
};

inline constexpr const char* kWindowCaption = " Vantrel Ver.0.39b1";

struct WindowControls {
  FormModel Form;
  PanelModel PanelCpuType;
  ComboBoxModel ComboBoxCpuType;
  CheckBoxModel CheckBox2;
  CheckBoxModel CheckBox1;
  PanelModel PanelComPort;
  ComboBoxModel ComboBoxComPort;
  PanelModel PanelBr1;
  ComboBoxModel ComboBoxBr1;
  PanelModel PanelBr2;
  ComboBoxModel ComboBoxBr2;
  PanelModel PAN_ROM_BASE;
  PanelModel PAN_BLOCK_SIZE;
  ButtonModel Button5;
  PanelModel Label1;  // hidden: the width and font reference of the shortened path
  EditModel Edit1;
  ButtonModel ButtonProgram;
  PanelModel Panel5;  // the status line
  TrackBarModel TrackBar1;
  std::string OpenDialog1Title;
};

}  // namespace vantrel
