#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// Light models of the window's controls. The fronts draw them; the core reads and writes them.
struct PanelModel {
  std::string caption;
  bool enabled = true;
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

inline constexpr const char* kWindowCaption = " Vantrel Ver.0.39b1";

struct WindowControls {
  PanelModel PanelCpuType{"書き込み制御ファイル"};
  ComboBoxModel ComboBoxCpuType;
  CheckBoxModel CheckBox2{"Snap"};
  CheckBoxModel CheckBox1{"Verify"};
  PanelModel PanelComPort{"COM Port"};
  ComboBoxModel ComboBoxComPort;
  PanelModel PanelBr1{"Baud (B)"};
  ComboBoxModel ComboBoxBr1{"", {"2400", "4800", "9600", "19200"}};
  PanelModel PanelBr2{"Baud (P)"};
  ComboBoxModel ComboBoxBr2{
      "", {"2400", "4800", "9600", "14400", "19200", "28800", "38400", "57600", "115200"}};
  PanelModel PAN_ROM_BASE;
  PanelModel PAN_BLOCK_SIZE;
  ButtonModel Button5{"書き込むファイル"};
  EditModel Edit1;
  ButtonModel ButtonProgram{"書き込み開始"};
  PanelModel Panel5;  // the status line
  TrackBarModel TrackBar1;
};

}  // namespace vantrel
