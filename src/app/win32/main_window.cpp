#include "app/win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/control_events.h"
#include "app/unexpected_exception.h"
#include "app/win32/control_windows.h"
#include "platform/text_encoding.h"
#include "platform/utf16_win32.h"

namespace vantrel::win32 {
namespace {

constexpr int kFirstControlId = 100;
constexpr UINT kTickMessage = WM_APP + 1;

}  // namespace

MainWindow::MainWindow(TForm1& form, WindowHost& host, platform::Clock& clock)
    : form_(form), host_(host), clock_(clock), active_(form), frame_(form.controls.Form) {
  hwnd_ = MakeFrameWindow(WindowProc, this);
  CreateControls();
  waiter_.emplace(hwnd_, kTickMessage);
  RECT r{};
  ::GetWindowRect(hwnd_, &r);
  frame_.Sized(r.right - r.left, r.bottom - r.top);
}

MainWindow::~MainWindow() {
  waiter_.reset();
  if (hwnd_) ::DestroyWindow(hwnd_);
}

void MainWindow::CreateControls() {
  for (const auto& l : WindowLayout()) {
    controls_[static_cast<std::size_t>(l.id)] = MakeControlWindow(
        l, hwnd_, kFirstControlId + static_cast<int>(l.id), fonts_.For(l.face, l.fontPx));
  }
  ::SetWindowSubclass(Control(ControlId::Edit1), Edit1Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  // The dialog manager tabs in window order: put the tab stops in their order.
  HWND after = HWND_TOP;
  for (const ControlId id : TabOrder()) {
    ::SetWindowPos(Control(id), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = Control(id);
  }
}

void MainWindow::Show() {
  SyncFromModels();
  // Activation gives the focus to lastFocus_.
  if (lastFocus_ == nullptr) lastFocus_ = Control(FirstTabStop(form_.controls));
  ::ShowWindow(hwnd_, SW_SHOWNORMAL);
  ::UpdateWindow(hwnd_);
  ::PostMessageW(hwnd_, kTickMessage, 0, 0);
}

int MainWindow::Run() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(hwnd_, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

int MainWindow::Edit1TextWidth(std::string_view text) const {
  HWND edit = Control(ControlId::Edit1);
  HDC dc = ::GetDC(edit);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0)));
  const std::wstring wide = platform::Widen(text);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(edit, dc);
  return size.cx;
}

ScreenRect MainWindow::Screen() const {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &info)) return {};
  const RECT& r = info.rcMonitor;
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void MainWindow::MoveFocus(FocusTarget target) {
  if (target != FocusTarget::Button5) return;
  lastFocus_ = Control(ControlId::Button5);
  ::SetFocus(lastFocus_);
  // Also when the window is not active, and the focus moves only once it is.
  active_.FocusedOn(ControlId::Button5);
}

std::optional<ControlId> MainWindow::IdOf(HWND window) const {
  // A combo box's edit field is its child.
  for (; window != nullptr && ::GetParent(window) != hwnd_; window = ::GetParent(window)) {
  }
  for (std::size_t i = 0; window != nullptr && i < controls_.size(); ++i) {
    if (controls_[i] == window) return static_cast<ControlId>(i);
  }
  return std::nullopt;
}

void MainWindow::SyncFromModels() {
  syncing_ = true;
  for (const auto& c : push_.Changes(form_.controls)) PushToControl(Control(c.layout->id), c);
  const FormModel& f = form_.controls.Form;
  const auto form = push_.FormChanges(f);
  if (form.caption) ::SetWindowTextW(hwnd_, platform::Widen(f.caption).c_str());
  if (form.acceptsDrops) ::DragAcceptFiles(hwnd_, f.acceptsDrops);
  if (const auto at = frame_.OwnMove()) {
    ::SetWindowPos(hwnd_, nullptr, at->left, at->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame_.OwnMoveDone();
  }
  syncing_ = false;
}

void MainWindow::RunTicks(bool waitOver) {
  if (waitOver) waiting_ = false;
  // A wait that is still out holds the port; its end brings the next round.
  if (waiting_) return;
  // The mode comes from the settings, read during the initialisation.
  if (!driver_) driver_.emplace(form_.job(), clock_, form_.tickMode);
  const TickPlan plan = driver_->Run();
  // A box inside the ticks may have started a round of its own. The plan counts from now: the
  // wait starts before the controls are brought up to date, which never touches the port.
  if (!waiting_ && plan.delayMs == 0) {
    TicksSoon();
  } else if (!waiting_) {
    waiting_ = true;
    waiter_->Start(*driver_, plan);
  }
  SyncFromModels();
}

void MainWindow::TicksSoon() {
  if (waiting_) {
    waiter_->Cut();
  } else {
    ::PostMessageW(hwnd_, kTickMessage, 0, 0);
  }
}

void MainWindow::Command(ControlId id, int code) {
  HWND w = Control(id);
  const ControlKind kind = LayoutOf(id).kind;
  const bool combo = kind == ControlKind::ComboBox;
  const bool edit = kind == ControlKind::Edit;
  if ((combo && code == CBN_SETFOCUS) || (edit && code == EN_SETFOCUS)) {
    lastFocus_ = w;
    Dispatch([this, id] { active_.FocusedOn(id); });
  } else if (combo && (code == CBN_EDITCHANGE || code == CBN_SELCHANGE)) {
    Dispatch([&] { ControlTyped(form_, push_, id, ComboText(w, code)); });
  } else if (edit && code == EN_CHANGE) {
    Dispatch([&] { ControlTyped(form_, push_, id, TextOf(w)); });
  } else if (code == BN_CLICKED && (kind == ControlKind::Button || kind == ControlKind::CheckBox)) {
    const bool checked = ::SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
    Dispatch([&] { ControlClicked(form_, push_, id, checked); });
  }
}

LRESULT CALLBACK MainWindow::Edit1Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
  const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
  // Buttons say nothing when they get the focus: Edit1 says where it went.
  auto* window = reinterpret_cast<MainWindow*>(self);
  const auto next =
      message == WM_KILLFOCUS ? window->IdOf(reinterpret_cast<HWND>(wParam)) : std::nullopt;
  try {
    if (next) {
      window->lastFocus_ = reinterpret_cast<HWND>(wParam);
      window->Dispatch([window, next] { window->active_.FocusedOn(*next); });
    }
  } catch (...) {
    EndOnUnexpectedException(window->host_);
  }
  return result;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<MainWindow*>(create->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  // Nothing may unwind through the system's code that called here.
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    EndOnUnexpectedException(self->host_);
  }
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam) - kFirstControlId;
      if (!syncing_ && id >= 0 && id < static_cast<int>(controls_.size())) {
        Command(static_cast<ControlId>(id), HIWORD(wParam));
      }
      return 0;
    }
    case kTickMessage:
      RunTicks(wParam != 0);
      return 0;
    case WM_ACTIVATE:
      // A box a handler opens comes while the focus moves; the handler said where it goes.
      if (LOWORD(wParam) == WA_INACTIVE && dispatching_ == 0 && ::IsChild(hwnd_, ::GetFocus())) {
        lastFocus_ = ::GetFocus();
      }
      return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_SETFOCUS:
      // Back to the control that had it, as a dialog does: the window never holds the focus
      // itself, so that leaving Edit1 is always seen.
      if (lastFocus_ != nullptr && ::IsWindowEnabled(lastFocus_)) ::SetFocus(lastFocus_);
      return 0;
    case WM_MOVE: {
      // Minimised, the frame lies off the screen (-32000): the position to keep is the restored
      // one.
      if (::IsIconic(hwnd_)) return 0;
      RECT r{};
      ::GetWindowRect(hwnd_, &r);
      frame_.Sized(r.right - r.left, r.bottom - r.top);
      frame_.Moved({r.left, r.top});
      return 0;
    }
    case WM_EXITSIZEMOVE:
      Dispatch([this] { form_.WindowMoveEnded(); });
      return 0;
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wParam);
      const std::vector<std::string> files = DroppedFiles(drop);
      Dispatch([this, &files] { form_.FilesDropped(files); });
      ::DragFinish(drop);
      return 0;
    }
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      // Senders use the ANSI code page; the size rule counts their bytes.
      const std::string_view bytes(static_cast<const char*>(data->lpData), data->cbData);
      const std::string text =
          platform::DecodeCodePage(bytes, ::GetACP()).value_or(std::string(bytes));
      Dispatch([this, &text, bytes] { form_.CommandForwarded(text, bytes.size()); });
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      const auto defaultResult = ::DefWindowProcW(hwnd_, message, wParam, lParam);
      const auto id = IdOf(reinterpret_cast<HWND>(lParam));
      if (id && StateOf(form_.controls, *id).greyed) {
        ::SetTextColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_GRAYTEXT));
      }
      return defaultResult;
    }
    case WM_CLOSE:
      form_.FormClose();
      return 0;
    default:
      return ::DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

}  // namespace vantrel::win32
