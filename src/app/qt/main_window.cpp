#include "app/qt/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QSocketNotifier>
#include <algorithm>

#include "platform/termination_signal.h"

namespace vantrel::qt {
namespace {

// The end of a move is the last move event of a burst.
constexpr int kMoveEndedMs = 250;

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
    case ControlKind::Label: {
      auto* label = new QLabel(parent);
      if (l.bevel != Bevel::None) {
        label->setFrameStyle(QFrame::Panel |
                             (l.bevel == Bevel::Lowered ? QFrame::Sunken : QFrame::Raised));
      }
      label->setAlignment(l.alignLeft ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
      return label;
    }
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(true);
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setMaxVisibleItems(l.dropDownRows);
      return combo;
    }
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

template <class W>
void SetTextIfChanged(W* widget, const QString& text) {
  if (widget->text() != text) widget->setText(text);
}

}  // namespace

MainWindow::MainWindow(TForm1& form, platform::Clock& clock) : form_(form), clock_(clock) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(FontOf(LayoutOf(ControlId::Edit1)));
  CreateControls();
  BindEvents();
  SyncFromModels();
}

QFont MainWindow::Edit1Font() const {
  return edit1_->font();
}

void MainWindow::CreateControls() {
  for (const auto& l : WindowLayout()) {
    QWidget* w = MakeWidget(l, this);
    w->setObjectName(ToQt(l.name));
    w->setGeometry(l.left, l.top, l.width, l.height);
    w->setFont(FontOf(l));
    w->setVisible(l.visible);
    w->setFocusPolicy(l.tabOrder < 0 ? Qt::NoFocus : Qt::StrongFocus);
    widgets_[static_cast<std::size_t>(l.id)] = w;
  }
  edit1_ = static_cast<QLineEdit*>(Control(ControlId::Edit1));
  auto* bar = static_cast<QSlider*>(Control(ControlId::TrackBar1));
  bar->setRange(form_.controls.TrackBar1.min, form_.controls.TrackBar1.max);

  std::vector<const ControlLayout*> tabStops;
  for (const auto& l : WindowLayout()) {
    if (l.tabOrder >= 0) tabStops.push_back(&l);
  }
  std::sort(tabStops.begin(), tabStops.end(),
            [](auto* a, auto* b) { return a->tabOrder < b->tabOrder; });
  for (std::size_t i = 1; i < tabStops.size(); ++i) {
    setTabOrder(Control(tabStops[i - 1]->id), Control(tabStops[i]->id));
  }
}

void MainWindow::BindEvents() {
  WindowControls& c = form_.controls;
  const auto combo = [this](ControlId id) { return static_cast<QComboBox*>(Control(id)); };
  connect(combo(ControlId::ComboBoxCpuType), &QComboBox::editTextChanged, this,
          [this, &c](const QString& text) {
            c.ComboBoxCpuType.text = text.toStdString();
            Handle([this] { form_.ComboBoxCpuTypeChange(); });
          });
  for (auto [id, model] : {std::pair{ControlId::ComboBoxComPort, &c.ComboBoxComPort},
                           std::pair{ControlId::ComboBoxBr1, &c.ComboBoxBr1},
                           std::pair{ControlId::ComboBoxBr2, &c.ComboBoxBr2}}) {
    connect(combo(id), &QComboBox::editTextChanged, this,
            [model](const QString& text) { model->text = text.toStdString(); });
  }
  connect(static_cast<QCheckBox*>(Control(ControlId::CheckBox1)), &QCheckBox::toggled, this,
          [&c](bool on) { c.CheckBox1.checked = on; });
  connect(static_cast<QCheckBox*>(Control(ControlId::CheckBox2)), &QCheckBox::toggled, this,
          [this, &c](bool on) {
            c.CheckBox2.checked = on;
            Handle([this] { form_.CheckBox2Click(); });
          });
  connect(static_cast<QPushButton*>(Control(ControlId::Button5)), &QPushButton::clicked, this,
          [this] { Handle([this] { form_.Button5Click(); }); });
  connect(static_cast<QPushButton*>(Control(ControlId::ButtonProgram)), &QPushButton::clicked, this,
          [this] { Handle([this] { form_.ButtonProgramClick(); }); });
  connect(edit1_, &QLineEdit::textEdited, this,
          [&c](const QString& text) { c.Edit1.text = text.toStdString(); });
  edit1_->installEventFilter(this);

  tickTimer_.setSingleShot(true);
  connect(&tickTimer_, &QTimer::timeout, this, [this] { RunTicks(); });
  tickTimer_.start(0);

  moveEnded_.setSingleShot(true);
  moveEnded_.setInterval(kMoveEndedMs);
  connect(&moveEnded_, &QTimer::timeout, this,
          [this] { Handle([this] { form_.WindowMoveEnded(); }); });

  const int fd = platform::TerminationSignalDescriptor();
  if (fd >= 0) {
    termination_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(termination_, &QSocketNotifier::activated, this, [this] {
      platform::DrainTerminationSignal();
      close();
    });
  }
}

void MainWindow::RunTicks() {
  if (portWatch_) portWatch_->setEnabled(false);
  // A box opened inside a tick runs an event loop that comes back here: just look again later.
  if (inTicks_) {
    tickTimer_.start(kTimerPeriodMs);
    return;
  }
  // The mode comes from the settings, read during the initialisation.
  if (!driver_) driver_.emplace(form_, clock_, form_.tickMode);
  const TickPlan plan = [this] {
    // Cleared on every way out, or no tick would ever run again.
    inTicks_ = true;
    const struct Clear {
      bool& flag;
      ~Clear() { flag = false; }
    } clear{inTicks_};
    return driver_->Run();
  }();
  SyncFromModels();
  if (!plan.wakeOnInput || plan.pollHandle < 0) {
    // Without a handle to watch, input is looked for once a timer period.
    tickTimer_.start(
        static_cast<int>(plan.wakeOnInput ? std::min(plan.delayMs, kTimerPeriodMs) : plan.delayMs));
    return;
  }
  if (portWatch_ && portWatch_->socket() != plan.pollHandle) {
    delete portWatch_;
    portWatch_ = nullptr;
  }
  if (!portWatch_) {
    portWatch_ = new QSocketNotifier(plan.pollHandle, QSocketNotifier::Read, this);
    connect(portWatch_, &QSocketNotifier::activated, this, [this] { RunTicks(); });
  }
  portWatch_->setEnabled(true);
  tickTimer_.start(static_cast<int>(plan.delayMs));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit1_) {
    if (event->type() == QEvent::FocusIn) {
      Handle([this] { form_.Edit1Enter(); });
    } else if (event->type() == QEvent::FocusOut) {
      // Leaving the whole window, or a popup opening, is not leaving the field.
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        form_.controls.Edit1.text = edit1_->text().toStdString();
        Handle([this] { form_.Edit1Exit(); });
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::MoveFocus(FocusTarget target) {
  if (target == FocusTarget::Button5) Control(ControlId::Button5)->setFocus(Qt::OtherFocusReason);
}

void MainWindow::SyncFromModels() {
  for (const auto& l : WindowLayout()) SyncControl(l);
  SyncForm();
}

void MainWindow::SyncControl(const ControlLayout& l) {
  QWidget* w = Control(l.id);
  const ControlState s = StateOf(form_.controls, l.id);
  // The widgets change only through events that update their models first, so a model as it was
  // last shown needs nothing done: the window idles without work every tick.
  auto& last = pushed_[static_cast<std::size_t>(l.id)];
  static const std::vector<std::string> kNoItems;
  const auto& items = s.items ? *s.items : kNoItems;
  if (last && last->text == s.text && last->items == items && last->checked == s.checked &&
      last->enabled == s.enabled && last->greyed == s.greyed && last->position == s.position) {
    return;
  }
  last = Pushed{std::string(s.text), items, s.checked, s.enabled, s.greyed, s.position};
  const QSignalBlocker block(w);
  const QString text = ToQt(s.text);
  switch (l.kind) {
    case ControlKind::Panel:
    case ControlKind::Label: {
      auto* label = static_cast<QLabel*>(w);
      SetTextIfChanged(label, text);
      const QPalette::ColorGroup group = s.greyed ? QPalette::Disabled : QPalette::Active;
      const QColor colour = palette().color(group, QPalette::WindowText);
      if (label->palette().color(QPalette::WindowText) != colour) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, colour);
        label->setPalette(p);
      }
      break;
    }
    case ControlKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(w);
      QStringList items;
      for (const auto& item : *s.items) items << ToQt(item);
      QStringList shown;
      for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
      if (shown != items) {
        combo->clear();
        combo->addItems(items);
      }
      if (combo->currentText() != text) {
        combo->setEditText(text);
        combo->lineEdit()->setCursorPosition(0);  // the beginning shows, as in a native box
      }
      break;
    }
    case ControlKind::CheckBox: {
      auto* box = static_cast<QCheckBox*>(w);
      SetTextIfChanged(box, text);
      box->setChecked(s.checked);
      break;
    }
    case ControlKind::Button:
      SetTextIfChanged(static_cast<QPushButton*>(w), text);
      break;
    case ControlKind::Edit: {
      auto* edit = static_cast<QLineEdit*>(w);
      if (edit->text() != text) {
        edit->setText(text);
        edit->setCursorPosition(0);
      }
      break;
    }
    case ControlKind::TrackBar:
      static_cast<QSlider*>(w)->setValue(s.position);
      break;
  }
  // The track bar is never enabled; everything else follows its model.
  const bool enabled = l.kind == ControlKind::TrackBar ? l.enabled : s.enabled;
  if (w->isEnabled() != enabled) w->setEnabled(enabled);
}

void MainWindow::SyncForm() {
  const FormModel& f = form_.controls.Form;
  if (windowTitle() != ToQt(f.caption)) setWindowTitle(ToQt(f.caption));
  if (acceptDrops() != f.acceptsDrops) setAcceptDrops(f.acceptsDrops);
  const QPoint wanted(f.left, f.top);
  if (placed_ != wanted) {
    placed_ = wanted;
    ownMove_ = true;
    move(wanted);
  }
}

void MainWindow::TrackFrame() {
  const QSize frame = frameGeometry().size();
  form_.controls.Form.width = frame.width();
  form_.controls.Form.height = frame.height();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  TrackFrame();
  // The program's own move keeps the position it asked for, whatever frame the platform adds.
  if (ownMove_) {
    ownMove_ = false;
    return;
  }
  placed_ = pos();
  form_.controls.Form.left = placed_.x();
  form_.controls.Form.top = placed_.y();
  moveEnded_.start();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  TrackFrame();
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  TrackFrame();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  form_.FormClose();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  }
  event->acceptProposedAction();
  Handle([this, &paths] { form_.FilesDropped(paths); });
}

}  // namespace vantrel::qt
