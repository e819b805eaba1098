#include "app/qt/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSlider>
#include <QSocketNotifier>
#include <algorithm>

#include "app/control_events.h"
#include "app/qt/control_widgets.h"
#include "platform/termination_signal.h"

namespace vantrel::qt {
namespace {

// The end of a move is the last move event of a burst.
constexpr int kMoveEndedMs = 250;

}  // namespace

MainWindow::MainWindow(TForm1& form, platform::Clock& clock)
    : form_(form), clock_(clock), active_(form), frame_(form.controls.Form) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(FontOf(LayoutOf(ControlId::Edit1)));
  CreateControls();
  BindEvents();
  SyncFromModels();
}

int MainWindow::Edit1TextWidth(std::string_view text) const {
  return QFontMetrics(Control(ControlId::Edit1)->font()).horizontalAdvance(ToQt(text));
}

ScreenRect MainWindow::Screen() const {
  const QScreen* s = screen();
  if (s == nullptr) return {};
  const QRect r = s->geometry();
  return {r.left(), r.top(), r.width(), r.height()};
}

void MainWindow::CreateControls() {
  for (const auto& l : WindowLayout()) {
    QWidget* w = MakeWidget(l, this);
    w->setObjectName(ToQt(l.name));
    w->setGeometry(l.left, l.top, l.width, l.height);
    w->setFont(FontOf(l));
    w->setVisible(l.visible);
    w->setFocusPolicy(l.tabOrder < 0 ? Qt::NoFocus : Qt::StrongFocus);
    // Every drop is the window's, as on Windows: no field takes a dropped path as typed text.
    w->setAcceptDrops(false);
    for (QWidget* inner : w->findChildren<QWidget*>()) inner->setAcceptDrops(false);
    widgets_[static_cast<std::size_t>(l.id)] = w;
  }
  auto* bar = static_cast<QSlider*>(Control(ControlId::TrackBar1));
  bar->setRange(form_.controls.TrackBar1.min, form_.controls.TrackBar1.max);
  const auto order = TabOrder();
  for (std::size_t i = 1; i < order.size(); ++i) {
    setTabOrder(Control(order[i - 1]), Control(order[i]));
  }
}

void MainWindow::BindEvents() {
  for (const ControlId id : {ControlId::ComboBoxCpuType, ControlId::ComboBoxComPort,
                             ControlId::ComboBoxBr1, ControlId::ComboBoxBr2}) {
    connect(static_cast<QComboBox*>(Control(id)), &QComboBox::editTextChanged, this,
            [this, id](const QString& text) {
              Handle([&] { ControlTyped(form_, push_, id, text.toStdString()); });
            });
  }
  connect(static_cast<QLineEdit*>(Control(ControlId::Edit1)), &QLineEdit::textEdited, this,
          [this](const QString& text) {
            Handle([&] { ControlTyped(form_, push_, ControlId::Edit1, text.toStdString()); });
          });
  for (const ControlId id : {ControlId::CheckBox1, ControlId::CheckBox2}) {
    connect(static_cast<QCheckBox*>(Control(id)), &QCheckBox::toggled, this,
            [this, id](bool on) { Handle([&] { ControlClicked(form_, push_, id, on); }); });
  }
  for (const ControlId id : {ControlId::Button5, ControlId::ButtonProgram}) {
    connect(static_cast<QPushButton*>(Control(id)), &QPushButton::clicked, this,
            [this, id] { Handle([&] { ControlClicked(form_, push_, id); }); });
  }
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    for (; now != nullptr && now->parentWidget() != this; now = now->parentWidget()) {
    }
    const auto at = std::find(widgets_.begin(), widgets_.end(), now);
    if (now == nullptr || at == widgets_.end()) return;
    Handle([this, at] { active_.FocusedOn(static_cast<ControlId>(at - widgets_.begin())); });
  });

  tickTimer_.setSingleShot(true);
  // Where the answer timer is missing, the sleeps through an answer on its way are these.
  tickTimer_.setTimerType(Qt::PreciseTimer);
  connect(&tickTimer_, &QTimer::timeout, this, [this] { RunTicks(); });
  tickTimer_.start(0);

  moveEnded_.setSingleShot(true);
  moveEnded_.setInterval(kMoveEndedMs);
  connect(&moveEnded_, &QTimer::timeout, this,
          [this] { Handle([this] { form_.WindowMoveEnded(); }); });

  if (const int fd = platform::TerminationSignalDescriptor(); fd >= 0) {
    auto* termination = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(termination, &QSocketNotifier::activated, this, [this] {
      platform::DrainTerminationSignal();
      close();
    });
  }
}

void MainWindow::RunTicks() {
  if (portWatch_) portWatch_->setEnabled(false);
  answerTimer_.Stop();
  // The mode comes from the settings, read during the initialisation.
  if (!driver_) driver_.emplace(form_.job(), clock_, form_.tickMode);
  const TickPlan plan = driver_->Run();
  // The plan counts from now: the timer starts before the controls are brought up to date.
  if (plan.wakeOnInput && plan.pollHandle >= 0) {
    WatchPort(plan.pollHandle);
    tickTimer_.start(static_cast<int>(plan.delayMs));
  } else if (!plan.wakeOnInput && plan.sleepUs > 0 && answerTimer_.Start(plan.sleepUs)) {
    tickTimer_.stop();
  } else {
    // A sleep through an answer on its way leaves the port unwatched (the notifier stays off).
    // Without a handle to watch, input is looked for once a timer period.
    tickTimer_.start(
        static_cast<int>(plan.wakeOnInput ? std::min(plan.delayMs, kTimerPeriodMs) : plan.delayMs));
  }
  SyncFromModels();
}

void MainWindow::WatchPort(std::intptr_t handle) {
  if (portWatch_ && portWatch_->socket() != handle) {
    // This may be its own signal: it goes once that is over.
    portWatch_->deleteLater();
    portWatch_ = nullptr;
  }
  if (!portWatch_) {
    portWatch_ = new QSocketNotifier(handle, QSocketNotifier::Read, this);
    connect(portWatch_, &QSocketNotifier::activated, this, [this] { RunTicks(); });
  }
  portWatch_->setEnabled(true);
}

void MainWindow::MoveFocus(FocusTarget target) {
  if (target != FocusTarget::Button5) return;
  Control(ControlId::Button5)->setFocus(Qt::OtherFocusReason);
  // Also when the window is not active, and the focus moves only once it is.
  active_.FocusedOn(ControlId::Button5);
}

void MainWindow::SyncFromModels() {
  for (const auto& c : push_.Changes(form_.controls)) PushToWidget(Control(c.layout->id), c, *this);
  const FormModel& f = form_.controls.Form;
  const auto form = push_.FormChanges(f);
  if (form.caption) setWindowTitle(ToQt(f.caption));
  if (form.acceptsDrops) setAcceptDrops(f.acceptsDrops);
  if (const auto at = frame_.OwnMove()) move(at->left, at->top);
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  frame_.Sized(frameGeometry().width(), frameGeometry().height());
  if (frame_.Moved({pos().x(), pos().y()})) moveEnded_.start();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  frame_.Sized(frameGeometry().width(), frameGeometry().height());
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Where the other window starts too, taken once the window is active.
  if (focusWidget() == nullptr) Control(FirstTabStop(form_.controls))->setFocus();
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
