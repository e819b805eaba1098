#include "app/window_layout.h"

#include <algorithm>
#include <string>

#include "config/baud_rates.h"

namespace vantrel {
namespace {

constexpr char kFiftyTwoAs[] = "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa";
static_assert(sizeof kFiftyTwoAs == 53);

using K = ControlKind;
using C = ControlId;

// clang-format off
constexpr std::array<ControlLayout, kControlCount> kLayout{{
  // id, name, kind, left, top, width, height, text, items, face, px, bevel, alignLeft,
  // drop-down rows, tab order, visible, enabled
  {C::PanelCpuType, "PanelCpuType", K::Panel, 0, 0, 177, 17, "書き込み制御ファイル", {}, Face::PGothic, 13, Bevel::Lowered},
  {C::ComboBoxCpuType, "ComboBoxCpuType", K::ComboBox, 0, 16, 177, 21, "", {}, Face::Gothic, 13, Bevel::None, false, 30, 3},
  {C::CheckBox2, "CheckBox2", K::CheckBox, 180, 2, 49, 17, "Snap", {}, Face::Gothic, 13, Bevel::None, false, 8, 8},
  {C::CheckBox1, "CheckBox1", K::CheckBox, 180, 20, 65, 17, "Verify", {}, Face::Gothic, 13, Bevel::None, false, 8, 4},
  {C::PanelComPort, "PanelComPort", K::Panel, 245, 0, 65, 17, "COM Port", {}, Face::Gothic, 13, Bevel::Lowered},
  {C::ComboBoxComPort, "ComboBoxComPort", K::ComboBox, 312, 0, 65, 21, "", {}, Face::Gothic, 13, Bevel::None, false, 8, 0},
  {C::PanelBr1, "PanelBr1", K::Panel, 245, 24, 65, 17, "Baud (B)", {}, Face::Gothic, 13, Bevel::Lowered},
  {C::ComboBoxBr1, "ComboBoxBr1", K::ComboBox, 312, 24, 65, 21, "", kBootBaudRates, Face::Gothic, 13, Bevel::None, false, 8, 1},
  {C::PanelBr2, "PanelBr2", K::Panel, 245, 48, 65, 17, "Baud (P)", {}, Face::Gothic, 13, Bevel::Lowered},
  {C::ComboBoxBr2, "ComboBoxBr2", K::ComboBox, 312, 48, 65, 21, "", kProgramBaudRates, Face::Gothic, 13, Bevel::None, false, 9, 2},
  {C::PAN_ROM_BASE, "PAN_ROM_BASE", K::Panel, 114, 38, 128, 16, "", {}, Face::Gothic, 13, Bevel::Raised, true},
  {C::PAN_BLOCK_SIZE, "PAN_BLOCK_SIZE", K::Panel, 114, 55, 128, 16, "", {}, Face::Gothic, 13, Bevel::Raised, true},
  {C::Button5, "Button5", K::Button, 0, 50, 110, 24, "書き込むファイル", {}, Face::PGothic, 13, Bevel::None, false, 8, 5},
  {C::Label1, "Label1", K::Label, 0, 72, 364, 13, kFiftyTwoAs, {}, Face::Gothic, 13, Bevel::None, false, 8, -1, false},
  {C::Edit1, "Edit1", K::Edit, 0, 74, 377, 21, "", {}, Face::Gothic, 13, Bevel::None, false, 8, 6},
  {C::ButtonProgram, "ButtonProgram", K::Button, 0, 96, 110, 24, "書き込み開始", {}, Face::PGothic, 13, Bevel::None, false, 8, 7},
  {C::Panel5, "Panel5", K::Panel, 114, 96, 260, 24, "", {}, Face::PGothic, 12, Bevel::Lowered, true},
  {C::TrackBar1, "TrackBar1", K::TrackBar, 0, 120, 377, 25, "", {}, Face::Gothic, 13, Bevel::None, false, 8, -1, true, false},
}};
// clang-format on

constexpr bool InIdOrder() {
  for (std::size_t i = 0; i < kLayout.size(); ++i) {
    if (static_cast<std::size_t>(kLayout[i].id) != i) return false;
  }
  return true;
}
static_assert(InIdOrder(), "LayoutOf indexes the table by id");

std::vector<std::string> Items(std::span<const std::string_view> items) {
  return {items.begin(), items.end()};
}

}  // namespace

std::span<const ControlLayout> WindowLayout() {
  return kLayout;
}

const ControlLayout& LayoutOf(ControlId id) {
  return kLayout[static_cast<std::size_t>(id)];
}

std::vector<ControlId> TabOrder() {
  std::vector<const ControlLayout*> stops;
  for (const auto& l : kLayout) {
    if (l.tabOrder >= 0) stops.push_back(&l);
  }
  std::sort(stops.begin(), stops.end(), [](auto* a, auto* b) { return a->tabOrder < b->tabOrder; });
  std::vector<ControlId> order;
  for (const auto* l : stops) order.push_back(l->id);
  return order;
}

ControlId FirstTabStop(const WindowControls& controls) {
  const auto order = TabOrder();
  const auto at = std::find_if(order.begin(), order.end(),
                               [&](ControlId id) { return StateOf(controls, id).enabled; });
  return at == order.end() ? order.front() : *at;
}

void LoadDesign(WindowControls& c) {
  const auto text = [](ControlId id) { return std::string(LayoutOf(id).text); };
  c.Form.caption = kWindowCaption;
  c.PanelCpuType.caption = text(C::PanelCpuType);
  c.CheckBox2.caption = text(C::CheckBox2);
  c.CheckBox1.caption = text(C::CheckBox1);
  c.PanelComPort.caption = text(C::PanelComPort);
  c.PanelBr1.caption = text(C::PanelBr1);
  c.ComboBoxBr1.items = Items(LayoutOf(C::ComboBoxBr1).items);
  c.PanelBr2.caption = text(C::PanelBr2);
  c.ComboBoxBr2.items = Items(LayoutOf(C::ComboBoxBr2).items);
  c.Button5.caption = text(C::Button5);
  c.Label1.caption = text(C::Label1);
  c.ButtonProgram.caption = text(C::ButtonProgram);
  c.TrackBar1 = TrackBarModel{};
}

ControlState StateOf(const WindowControls& c, ControlId id) {
  const auto panel = [](const PanelModel& m) {
    return ControlState{m.caption, nullptr, false, m.enabled, m.greyed};
  };
  const auto combo = [](const ComboBoxModel& m) {
    return ControlState{m.text, &m.items, false, m.enabled};
  };
  const auto check = [](const CheckBoxModel& m) {
    return ControlState{m.caption, nullptr, m.checked, m.enabled};
  };
  const auto button = [](const ButtonModel& m) {
    return ControlState{m.caption, nullptr, false, m.enabled};
  };
  switch (id) {
    case C::PanelCpuType:
      return panel(c.PanelCpuType);
    case C::ComboBoxCpuType:
      return combo(c.ComboBoxCpuType);
    case C::CheckBox2:
      return check(c.CheckBox2);
    case C::CheckBox1:
      return check(c.CheckBox1);
    case C::PanelComPort:
      return panel(c.PanelComPort);
    case C::ComboBoxComPort:
      return combo(c.ComboBoxComPort);
    case C::PanelBr1:
      return panel(c.PanelBr1);
    case C::ComboBoxBr1:
      return combo(c.ComboBoxBr1);
    case C::PanelBr2:
      return panel(c.PanelBr2);
    case C::ComboBoxBr2:
      return combo(c.ComboBoxBr2);
    case C::PAN_ROM_BASE:
      return panel(c.PAN_ROM_BASE);
    case C::PAN_BLOCK_SIZE:
      return panel(c.PAN_BLOCK_SIZE);
    case C::Button5:
      return button(c.Button5);
    case C::Label1:
      return panel(c.Label1);
    case C::Edit1:
      return ControlState{c.Edit1.text, nullptr, false, c.Edit1.enabled};
    case C::ButtonProgram:
      return button(c.ButtonProgram);
    case C::Panel5:
      return panel(c.Panel5);
    case C::TrackBar1: {
      ControlState s{{}, nullptr, false, false};
      s.position = c.TrackBar1.position;
      return s;
    }
  }
  return {};
}

}  // namespace vantrel
