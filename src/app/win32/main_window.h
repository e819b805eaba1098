#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "app/tform1.h"
#include "app/window_layout.h"

namespace vantrel::win32 {

// The window on the standard Windows controls. It keeps no state of its own: control
// notifications go to TForm1's handlers, and after every handler and tick the models are copied
// back into the controls.
class MainWindow {
 public:
  explicit MainWindow(TForm1& form);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND handle() const { return hwnd_; }
  HWND Control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }
  void SyncFromModels();
  int Edit1TextWidth(const std::wstring& text) const;
  void MoveFocus(FocusTarget target);
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
  void SyncControl(const ControlLayout& layout);
  void SyncForm();
  void TrackFrame();
  std::string TextOf(HWND control) const;
  HFONT FontFor(Face face, int px);
  template <class Handler>
  void Run(Handler&& handler) {
    handler();
    SyncFromModels();
  }

  TForm1& form_;
  HWND hwnd_ = nullptr;
  std::array<HWND, 18> controls_{};
  std::map<std::pair<int, int>, HFONT> fonts_;
  std::map<ControlId, std::vector<std::string>> shownItems_;
  POINT placed_{-1, -1};
  bool ownMove_ = false;
  bool syncing_ = false;
};

}  // namespace vantrel::win32
