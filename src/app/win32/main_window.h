#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "app/active_control.h"
#include "app/control_push.h"
#include "app/desktop_host.h"
#include "app/tform1.h"
#include "job/tick_driver.h"
#include "app/win32/control_windows.h"
#include "app/win32/port_waiter.h"
#include "app/window_frame.h"

namespace vantrel::win32 {

// The window on the standard Windows controls. It keeps no state of its own: control
// notifications go to TForm1's handlers, and after every handler and tick what changed in the
// models is pushed into the controls.
class MainWindow final : public DesktopWindow {
 public:
  MainWindow(TForm1& form, WindowHost& host, platform::Clock& clock);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND handle() const { return hwnd_; }
  HWND Control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }
  void SyncFromModels() override;
  int Edit1TextWidth(std::string_view text) const override;
  ScreenRect Screen() const override;
  void MoveFocus(FocusTarget target) override;
  void Show();
  // The message loop, until the window closes.
  int Run();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK Edit1Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void Command(ControlId id, int code);
  // The control of the window that a window is, or is part of.
  std::optional<ControlId> IdOf(HWND window) const;
  // Runs the ticks that are due, then waits as the driver says; waitOver: a wait has ended.
  void RunTicks(bool waitOver);
  // Runs a handler, then shows what it changed; the ticks it may have started come next.
  template <class Handler>
  void Dispatch(Handler&& handler) {
    ++dispatching_;
    handler();
    --dispatching_;
    SyncFromModels();
    TicksSoon();
  }
  void TicksSoon();

  TForm1& form_;
  WindowHost& host_;
  platform::Clock& clock_;
  HWND hwnd_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  ControlFonts fonts_;
  ControlPush push_;
  ActiveControl active_;
  WindowFrame frame_;
  // The control that has the focus, or had it when the window lost it.
  HWND lastFocus_ = nullptr;
  int dispatching_ = 0;
  bool syncing_ = false;
  std::optional<TickDriver> driver_;
  std::optional<PortWaiter> waiter_;
  bool waiting_ = false;
};

}  // namespace vantrel::win32
