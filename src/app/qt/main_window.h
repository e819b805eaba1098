#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <optional>

#include "app/tform1.h"
#include "app/tick_driver.h"
#include "app/window_layout.h"

class QLineEdit;
class QSocketNotifier;

namespace vantrel::qt {

// The window on Qt widgets. It keeps no state of its own: widget events go to TForm1's handlers,
// and after every handler and tick the models are copied back into the widgets.
class MainWindow final : public QWidget {
 public:
  MainWindow(TForm1& form, platform::Clock& clock);

  // Copies every control model into its widget; cheap when nothing changed.
  void SyncFromModels();
  QFont Edit1Font() const;
  void MoveFocus(FocusTarget target);
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
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void BindEvents();
  void SyncControl(const ControlLayout& layout);
  void SyncForm();
  void TrackFrame();
  // Runs the ticks that are due and sets up the wake-up for the next ones.
  void RunTicks();
  // Runs a handler, then shows what it changed.
  template <class Handler>
  void Handle(Handler&& handler) {
    handler();
    SyncFromModels();
  }

  TForm1& form_;
  platform::Clock& clock_;
  std::array<QWidget*, 18> widgets_{};
  struct Pushed {
    std::string text;
    std::vector<std::string> items;
    bool checked, enabled, greyed;
    int position;
  };
  std::array<std::optional<Pushed>, 18> pushed_;
  QLineEdit* edit1_ = nullptr;
  std::optional<TickDriver> driver_;
  QTimer tickTimer_;
  QSocketNotifier* portWatch_ = nullptr;
  bool inTicks_ = false;
  QTimer moveEnded_;
  // Where the window was last put, by the program or the user; the move event that follows the
  // program's own move is not the user's.
  QPoint placed_{-1, -1};
  bool ownMove_ = false;
  QSocketNotifier* termination_ = nullptr;
};

}  // namespace vantrel::qt
