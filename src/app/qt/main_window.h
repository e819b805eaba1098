#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <optional>

#include "app/active_control.h"
#include "app/control_push.h"
#include "app/desktop_host.h"
#include "app/qt/fine_timer.h"
#include "app/tform1.h"
#include "app/window_frame.h"
#include "job/tick_driver.h"

class QLineEdit;
class QSocketNotifier;

namespace vantrel::qt {

// The window on Qt widgets. It keeps no state of its own: widget events go to TForm1's handlers,
// and after every handler and tick what changed in the models is pushed into the widgets.
class MainWindow final : public QWidget, public DesktopWindow {
 public:
  MainWindow(TForm1& form, platform::Clock& clock);

  void SyncFromModels() override;
  int Edit1TextWidth(std::string_view text) const override;
  ScreenRect Screen() const override;
  void MoveFocus(FocusTarget target) override;

  // A later copy's command line, handled like any other event.
  void CommandForwarded(std::string_view bytes) {
    Handle([this, bytes] { form_.CommandForwarded(bytes); });
  }
  QWidget* Control(ControlId id) const { return widgets_[static_cast<std::size_t>(id)]; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateControls();
  void BindEvents();
  // Runs the ticks that are due and sets up the wake-up for the next ones.
  void RunTicks();
  void WatchPort(std::intptr_t handle);
  // Runs a handler, then shows what it changed; the ticks it may have started come next.
  template <class Handler>
  void Handle(Handler&& handler) {
    handler();
    SyncFromModels();
    tickTimer_.start(0);
  }

  TForm1& form_;
  platform::Clock& clock_;
  std::array<QWidget*, kControlCount> widgets_{};
  ControlPush push_;
  ActiveControl active_;
  WindowFrame frame_;
  std::optional<TickDriver> driver_;
  QTimer tickTimer_;
  FineTimer answerTimer_{this, [this] { RunTicks(); }};
  QSocketNotifier* portWatch_ = nullptr;
  QTimer moveEnded_;
};

}  // namespace vantrel::qt
