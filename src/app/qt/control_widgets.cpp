#include "app/qt/control_widgets.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>

namespace vantrel::qt {
namespace {

QLabel* MakeLabel(const ControlLayout& l, QWidget* parent) {
  auto* label = new QLabel(parent);
  if (l.bevel != Bevel::None) {
    label->setFrameStyle(QFrame::Panel |
                         (l.bevel == Bevel::Lowered ? QFrame::Sunken : QFrame::Raised));
  }
  label->setAlignment(l.alignLeft ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
  return label;
}

QComboBox* MakeComboBox(const ControlLayout& l, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  // The whole text shows in the tool tip, also as it is typed.
  QObject::connect(combo->lineEdit(), &QLineEdit::textChanged, combo, &QWidget::setToolTip);
  combo->setInsertPolicy(QComboBox::NoInsert);
  // Each keystroke applies the text as typed so far, never a completion of it.
  combo->setCompleter(nullptr);
  combo->setMaxVisibleItems(l.dropDownRows);
  return combo;
}

void PushItems(QComboBox* combo, const std::vector<std::string>& items) {
  combo->clear();
  for (const auto& item : items) combo->addItem(ToQt(item));
  // The list as wide as its longest entry: device paths do not fit the box.
  QAbstractItemView* list = combo->view();
  const int scrollBar = combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  list->setMinimumWidth(list->sizeHintForColumn(0) + scrollBar + 2 * list->frameWidth());
}

void PushText(QWidget* w, ControlKind kind, const QString& text) {
  switch (kind) {
    case ControlKind::Panel:
    case ControlKind::Label:
      static_cast<QLabel*>(w)->setText(text);
      return;
    case ControlKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(w);
      combo->setEditText(text);
      combo->lineEdit()->setCursorPosition(0);  // the beginning shows, as in a native box
      return;
    }
    case ControlKind::CheckBox:
      static_cast<QCheckBox*>(w)->setText(text);
      return;
    case ControlKind::Button:
      static_cast<QPushButton*>(w)->setText(text);
      return;
    case ControlKind::Edit:
      static_cast<QLineEdit*>(w)->setText(text);
      static_cast<QLineEdit*>(w)->setCursorPosition(0);
      return;
    case ControlKind::TrackBar:
      return;
  }
}

}  // namespace

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont FontOf(const ControlLayout& layout) {
  QFont font(ToQt(kFaceNames[static_cast<std::size_t>(layout.face)]));
  font.setPixelSize(layout.fontPx);
  return font;
}

QWidget* MakeWidget(const ControlLayout& l, QWidget* parent) {
  switch (l.kind) {
    case ControlKind::Panel:
    case ControlKind::Label:
      return MakeLabel(l, parent);
    case ControlKind::ComboBox:
      return MakeComboBox(l, parent);
    case ControlKind::CheckBox:
      return new QCheckBox(parent);
    case ControlKind::Button:
      return new QPushButton(parent);
    case ControlKind::Edit:
      return new QLineEdit(parent);
    case ControlKind::TrackBar: {
      auto* bar = new QSlider(Qt::Horizontal, parent);
      bar->setTickPosition(QSlider::TicksAbove);
      bar->setTickInterval(kTrackBarTickEvery);
      return bar;
    }
  }
  return nullptr;
}

void PushToWidget(QWidget* w, const ControlChange& c, const QWidget& window) {
  const QSignalBlocker block(w);
  const ControlKind kind = c.layout->kind;
  if (c.items) PushItems(static_cast<QComboBox*>(w), *c.state.items);
  // A combo box's text goes with its items.
  if (c.text || c.items) PushText(w, kind, ToQt(c.state.text));
  if (c.greyed) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText,
               window.palette().color(c.state.greyed ? QPalette::Disabled : QPalette::Active,
                                      QPalette::WindowText));
    w->setPalette(p);
  }
  if (c.checked) static_cast<QCheckBox*>(w)->setChecked(c.state.checked);
  if (c.position) static_cast<QSlider*>(w)->setValue(c.state.position);
  if (c.enabled) w->setEnabled(c.state.enabled);
}

}  // namespace vantrel::qt
