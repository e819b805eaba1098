#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "gui/gui_window.h"

namespace vantrel::testing {
namespace {

enum class Kind { Panel, Combo, Check, Button, Label, Edit, Track };

// The window as designed, written down independently of the layout data the window is built from.
struct Expected {
  const char* name;
  Kind kind;
  QRect rect;
  const char* text;
  const char* family;
  int px;
  bool enabled;
};

const Expected kControls[] = {
    {"PanelCpuType",
     Kind::Panel,
     {0, 0, 177, 17},
     "書き込み制御ファイル",
     "ＭＳ Ｐゴシック",
     13,
     true},
    {"ComboBoxCpuType", Kind::Combo, {0, 16, 177, 21}, "CLS.mot", "ＭＳ ゴシック", 13, true},
    {"CheckBox2", Kind::Check, {180, 2, 49, 17}, "Snap", "ＭＳ ゴシック", 13, true},
    {"CheckBox1", Kind::Check, {180, 20, 65, 17}, "Verify", "ＭＳ ゴシック", 13, true},
    {"PanelComPort", Kind::Panel, {245, 0, 65, 17}, "COM Port", "ＭＳ ゴシック", 13, true},
    {"ComboBoxComPort", Kind::Combo, {312, 0, 65, 21}, "sim", "ＭＳ ゴシック", 13, true},
    {"PanelBr1", Kind::Panel, {245, 24, 65, 17}, "Baud (B)", "ＭＳ ゴシック", 13, true},
    {"ComboBoxBr1", Kind::Combo, {312, 24, 65, 21}, "9600", "ＭＳ ゴシック", 13, true},
    {"PanelBr2", Kind::Panel, {245, 48, 65, 17}, "Baud (P)", "ＭＳ ゴシック", 13, true},
    {"ComboBoxBr2", Kind::Combo, {312, 48, 65, 21}, "38400", "ＭＳ ゴシック", 13, true},
    {"PAN_ROM_BASE",
     Kind::Panel,
     {114, 38, 128, 16},
     "RomBase=00000000",
     "ＭＳ ゴシック",
     13,
     true},
    {"PAN_BLOCK_SIZE", Kind::Panel, {114, 55, 128, 16}, "BlockSize=128", "ＭＳ ゴシック", 13, true},
    {"Button5", Kind::Button, {0, 50, 110, 24}, "書き込むファイル", "ＭＳ Ｐゴシック", 13, true},
    {"Label1",
     Kind::Label,
     {0, 72, 364, 13},
     "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
     "ＭＳ ゴシック",
     13,
     true},
    {"Edit1", Kind::Edit, {0, 74, 377, 21}, "", "ＭＳ ゴシック", 13, true},
    {"ButtonProgram", Kind::Button, {0, 96, 110, 24}, "書き込み開始", "ＭＳ Ｐゴシック", 13, true},
    {"Panel5",
     Kind::Panel,
     {114, 96, 260, 24},
     "書き込むファイルを設定して下さい",
     "ＭＳ Ｐゴシック",
     12,
     true},
    {"TrackBar1", Kind::Track, {0, 120, 377, 25}, "", "ＭＳ ゴシック", 13, false},
};

QString TextOf(QWidget* w, Kind kind) {
  switch (kind) {
    case Kind::Panel:
    case Kind::Label:
      return static_cast<QLabel*>(w)->text();
    case Kind::Combo:
      return static_cast<QComboBox*>(w)->currentText();
    case Kind::Check:
      return static_cast<QCheckBox*>(w)->text();
    case Kind::Button:
      return static_cast<QPushButton*>(w)->text();
    case Kind::Edit:
      return static_cast<QLineEdit*>(w)->text();
    case Kind::Track:
      return {};
  }
  return {};
}

bool IsKind(QWidget* w, Kind kind) {
  switch (kind) {
    case Kind::Panel:
    case Kind::Label:
      return qobject_cast<QLabel*>(w) != nullptr;
    case Kind::Combo:
      return qobject_cast<QComboBox*>(w) != nullptr;
    case Kind::Check:
      return qobject_cast<QCheckBox*>(w) != nullptr;
    case Kind::Button:
      return qobject_cast<QPushButton*>(w) != nullptr;
    case Kind::Edit:
      return qobject_cast<QLineEdit*>(w) != nullptr;
    case Kind::Track:
      return qobject_cast<QSlider*>(w) != nullptr;
  }
  return false;
}

TEST(WindowLayout, EveryControlAsDesigned) {
  GuiWindow g;
  QWidget& w = *g.window;
  EXPECT_EQ(w.windowTitle(), " Vantrel Ver.0.39b1");
  EXPECT_EQ(w.size(), QSize(379, 154));
  EXPECT_EQ(w.minimumSize(), w.maximumSize());  // not resizable
  EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(w.acceptDrops());
  for (const auto& c : kControls) {
    auto* control = w.findChild<QWidget*>(c.name);
    ASSERT_NE(control, nullptr) << c.name;
    EXPECT_TRUE(IsKind(control, c.kind)) << c.name;
    EXPECT_EQ(control->geometry(), c.rect) << c.name;
    EXPECT_EQ(TextOf(control, c.kind), QString::fromUtf8(c.text)) << c.name;
    EXPECT_EQ(control->font().family(), QString::fromUtf8(c.family)) << c.name;
    EXPECT_EQ(control->font().pixelSize(), c.px) << c.name;
    EXPECT_EQ(control->isEnabled(), c.enabled) << c.name;
    EXPECT_EQ(control->isVisible(), std::string(c.name) != "Label1") << c.name;
  }
  auto left = [&](const char* name) { return w.findChild<QLabel*>(name)->alignment(); };
  EXPECT_TRUE(left("Panel5") & Qt::AlignLeft);
  EXPECT_TRUE(left("PAN_ROM_BASE") & Qt::AlignLeft);
  EXPECT_TRUE(left("PanelCpuType") & Qt::AlignHCenter);
  EXPECT_EQ(w.findChild<QLabel*>("Panel5")->frameShadow(), QFrame::Sunken);
  EXPECT_EQ(w.findChild<QComboBox*>("ComboBoxCpuType")->maxVisibleItems(), 30);
  EXPECT_EQ(w.findChild<QComboBox*>("ComboBoxBr2")->maxVisibleItems(), 9);
  EXPECT_EQ(w.findChild<QComboBox*>("ComboBoxBr2")->count(), 9);
  EXPECT_EQ(w.findChild<QComboBox*>("ComboBoxBr1")->itemText(3), "19200");
  auto* bar = w.findChild<QSlider*>("TrackBar1");
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 1000);
  EXPECT_EQ(bar->tickPosition(), QSlider::TicksAbove);
  EXPECT_EQ(bar->tickInterval(), 10);
  EXPECT_EQ(bar->focusPolicy(), Qt::NoFocus);

  // Tab order from the port selector round the window.
  const char* order[] = {"ComboBoxComPort", "ComboBoxBr1",   "ComboBoxBr2",
                         "ComboBoxCpuType", "CheckBox1",     "Button5",
                         "Edit1",           "ButtonProgram", "CheckBox2"};
  QWidget* at = w.findChild<QWidget*>(order[0]);
  for (std::size_t i = 1; i < std::size(order); ++i) {
    do {
      at = at->nextInFocusChain();
    } while (at->focusPolicy() == Qt::NoFocus || at->parentWidget() != &w);
    EXPECT_EQ(at->objectName().toStdString(), order[i]);
  }
}

}  // namespace
}  // namespace vantrel::testing
