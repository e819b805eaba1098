#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "gui/gui_window.h"
#include "support/designed_window.h"

namespace vantrel::testing {
namespace {

using Kind = DesignedKind;

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
  EXPECT_EQ(w.windowTitle(), kDesignedCaption);
  EXPECT_EQ(w.size(), QSize(kDesignedClientWidth, kDesignedClientHeight));
  EXPECT_EQ(w.minimumSize(), w.maximumSize());  // not resizable
  EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(w.acceptDrops());
  for (const auto& c : kDesignedControls) {
    auto* control = w.findChild<QWidget*>(c.name);
    ASSERT_NE(control, nullptr) << c.name;
    EXPECT_TRUE(IsKind(control, c.kind)) << c.name;
    EXPECT_EQ(control->geometry(), QRect(c.left, c.top, c.width, c.height)) << c.name;
    if (c.text != nullptr) {
      EXPECT_EQ(TextOf(control, c.kind), QString::fromUtf8(c.text)) << c.name;
    }
    EXPECT_EQ(control->font().family(), QString::fromUtf8(c.face)) << c.name;
    EXPECT_EQ(control->font().pixelSize(), c.px) << c.name;
    EXPECT_EQ(control->isEnabled(), c.enabled) << c.name;
    EXPECT_EQ(control->isVisible(), c.visible) << c.name;
  }
  // What start-up put there from this window's settings and CTRL_MOT.
  const std::pair<const char*, const char*> started[] = {
      {"ComboBoxCpuType", "CLS.mot"},
      {"ComboBoxComPort", "sim"},
      {"ComboBoxBr1", "9600"},
      {"ComboBoxBr2", "38400"},
      {"PAN_ROM_BASE", "RomBase=00000000"},
      {"PAN_BLOCK_SIZE", "BlockSize=128"},
      {"Edit1", ""},
      {"Panel5", "書き込むファイルを設定して下さい"}};
  for (const auto& [name, text] : started) {
    const auto& c = *std::find_if(kDesignedControls.begin(), kDesignedControls.end(),
                                  [&](const auto& d) { return std::string(d.name) == name; });
    EXPECT_EQ(TextOf(w.findChild<QWidget*>(name), c.kind), QString::fromUtf8(text)) << name;
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
  QWidget* at = w.findChild<QWidget*>(kDesignedTabOrder[0]);
  EXPECT_EQ(QApplication::focusWidget(), at);
  for (std::size_t i = 1; i < kDesignedTabOrder.size(); ++i) {
    do {
      at = at->nextInFocusChain();
    } while (at->focusPolicy() == Qt::NoFocus || at->parentWidget() != &w);
    EXPECT_EQ(at->objectName().toStdString(), kDesignedTabOrder[i]);
  }
}

}  // namespace
}  // namespace vantrel::testing
