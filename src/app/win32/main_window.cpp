#include "app/win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/text_encoding.h"
#include "platform/utf16_win32.h"

namespace vantrel::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr int kFirstControlId = 100;
constexpr UINT_PTR kTimer2 = 2;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Dropped names come in a buffer of 260 characters.
constexpr UINT kDropBuffer = 260;

int ControlIdOf(ControlId id) {
  return kFirstControlId + static_cast<int>(id);
}

struct ClassStyle {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

ClassStyle StyleOf(const ControlLayout& l) {
  const DWORD visible = l.visible ? WS_VISIBLE : 0;
  const DWORD tab = l.tabOrder >= 0 ? WS_TABSTOP : 0;
  const DWORD base = WS_CHILD | visible | tab | (l.enabled ? 0 : WS_DISABLED);
  switch (l.kind) {
    case ControlKind::Panel:
    case ControlKind::Label:
      return {L"STATIC",
              base | SS_CENTERIMAGE | SS_NOPREFIX | (l.alignLeft ? SS_LEFT : SS_CENTER) |
                  (l.bevel == Bevel::Lowered ? SS_SUNKEN : 0),
              l.bevel == Bevel::Raised ? static_cast<DWORD>(WS_EX_DLGMODALFRAME) : 0};
    case ControlKind::ComboBox:
      return {L"COMBOBOX",
              base | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | (l.sorted ? CBS_SORT : 0), 0};
    case ControlKind::CheckBox:
      return {L"BUTTON", base | BS_AUTOCHECKBOX, 0};
    case ControlKind::Button:
      return {L"BUTTON", base | BS_PUSHBUTTON, 0};
    case ControlKind::Edit:
      return {L"EDIT", base | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::TrackBar:
      return {TRACKBAR_CLASSW, base | TBS_HORZ | TBS_TOP | TBS_AUTOTICKS, 0};
  }
  return {L"STATIC", base, 0};
}

}  // namespace

MainWindow::MainWindow(TForm1& form) : form_(form) {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&common);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);
  RECT frame{0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  hwnd_ = ::CreateWindowExW(0, kClassName, platform::Widen(kWindowCaption).c_str(), kStyle,
                            CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                            frame.bottom - frame.top, nullptr, nullptr, instance, this);
  CreateControls();
  ::SetTimer(hwnd_, kTimer2, kTimer2IntervalMs, nullptr);
  TrackFrame();
}

MainWindow::~MainWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
  for (auto& [key, font] : fonts_) ::DeleteObject(font);
}

HFONT MainWindow::FontFor(Face face, int px) {
  const auto key = std::make_pair(static_cast<int>(face), px);
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
  const std::wstring name = platform::Widen(kFaceNames[static_cast<std::size_t>(face)]);
  HFONT font = ::CreateFontW(-px, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, name.c_str());
  fonts_[key] = font;
  return font;
}

void MainWindow::CreateControls() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  for (const auto& l : WindowLayout()) {
    const ClassStyle cs = StyleOf(l);
    // A combo box's height includes its dropped-down list.
    const int height =
        l.kind == ControlKind::ComboBox ? l.height + l.dropDownRows * 16 + 2 : l.height;
    HWND control = ::CreateWindowExW(
        cs.exStyle, cs.className, platform::Widen(l.text).c_str(), cs.style, l.left, l.top, l.width,
        height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdOf(l.id))), instance,
        nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(l.face, l.fontPx)), FALSE);
    if (l.kind == ControlKind::ComboBox) {
      // The closed box is exactly as high as designed.
      ::SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), l.height - 6);
    }
    if (l.kind == ControlKind::TrackBar) {
      ::SendMessageW(control, TBM_SETRANGEMIN, FALSE, form_.controls.TrackBar1.min);
      ::SendMessageW(control, TBM_SETRANGEMAX, FALSE, form_.controls.TrackBar1.max);
      ::SendMessageW(control, TBM_SETTICFREQ, kTrackBarTickEvery, 0);
    }
    controls_[static_cast<std::size_t>(l.id)] = control;
  }
  ::SetWindowSubclass(Control(ControlId::Edit1), Edit1Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  // The dialog manager tabs in window order: put the tab stops in their order.
  std::vector<const ControlLayout*> stops;
  for (const auto& l : WindowLayout()) {
    if (l.tabOrder >= 0) stops.push_back(&l);
  }
  std::sort(stops.begin(), stops.end(), [](auto* a, auto* b) { return a->tabOrder < b->tabOrder; });
  HWND after = HWND_TOP;
  for (const auto* l : stops) {
    ::SetWindowPos(Control(l->id), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = Control(l->id);
  }
}

void MainWindow::Show() {
  SyncFromModels();
  ::ShowWindow(hwnd_, SW_SHOWNORMAL);
  ::UpdateWindow(hwnd_);
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

int MainWindow::Edit1TextWidth(const std::wstring& text) const {
  HDC dc = ::GetDC(Control(ControlId::Edit1));
  HGDIOBJ old = ::SelectObject(
      dc, reinterpret_cast<HFONT>(::SendMessageW(Control(ControlId::Edit1), WM_GETFONT, 0, 0)));
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(Control(ControlId::Edit1), dc);
  return size.cx;
}

void MainWindow::MoveFocus(FocusTarget target) {
  if (target == FocusTarget::Button5) ::SetFocus(Control(ControlId::Button5));
}

std::string MainWindow::TextOf(HWND control) const {
  const int n = ::GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), n + 1)));
  return platform::Narrow(text);
}

void MainWindow::SyncFromModels() {
  syncing_ = true;
  for (const auto& l : WindowLayout()) SyncControl(l);
  SyncForm();
  syncing_ = false;
}

void MainWindow::SyncControl(const ControlLayout& l) {
  HWND w = Control(l.id);
  const ControlState s = StateOf(form_.controls, l.id);
  switch (l.kind) {
    case ControlKind::ComboBox: {
      auto& shown = shownItems_[l.id];
      if (shown != *s.items) {
        ::SendMessageW(w, CB_RESETCONTENT, 0, 0);
        for (const auto& item : *s.items) {
          ::SendMessageW(w, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(platform::Widen(item).c_str()));
        }
        shown = *s.items;
      }
      [[fallthrough]];
    }
    case ControlKind::Panel:
    case ControlKind::Label:
    case ControlKind::Button:
    case ControlKind::Edit:
      if (TextOf(w) != s.text) {
        ::SetWindowTextW(w, platform::Widen(s.text).c_str());
        if (l.kind == ControlKind::Panel) ::InvalidateRect(w, nullptr, TRUE);
      }
      break;
    case ControlKind::CheckBox:
      if (TextOf(w) != s.text) ::SetWindowTextW(w, platform::Widen(s.text).c_str());
      ::SendMessageW(w, BM_SETCHECK, s.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case ControlKind::TrackBar:
      ::SendMessageW(w, TBM_SETPOS, TRUE, s.position);
      break;
  }
  const bool enabled = l.kind == ControlKind::TrackBar ? l.enabled : s.enabled;
  if ((::IsWindowEnabled(w) != FALSE) != enabled) ::EnableWindow(w, enabled);
}

void MainWindow::SyncForm() {
  const FormModel& f = form_.controls.Form;
  if (TextOf(hwnd_) != f.caption) ::SetWindowTextW(hwnd_, platform::Widen(f.caption).c_str());
  ::DragAcceptFiles(hwnd_, f.acceptsDrops);
  if (placed_.x != f.left || placed_.y != f.top) {
    placed_ = {f.left, f.top};
    ownMove_ = true;
    ::SetWindowPos(hwnd_, nullptr, f.left, f.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ownMove_ = false;
  }
}

void MainWindow::TrackFrame() {
  RECT r{};
  ::GetWindowRect(hwnd_, &r);
  form_.controls.Form.width = r.right - r.left;
  form_.controls.Form.height = r.bottom - r.top;
}

void MainWindow::Command(ControlId id, int code) {
  WindowControls& c = form_.controls;
  HWND w = Control(id);
  const auto comboText = [&](int notification) {
    if (notification == CBN_SELCHANGE) {
      const auto index = ::SendMessageW(w, CB_GETCURSEL, 0, 0);
      if (index == CB_ERR) return TextOf(w);
      const auto n = ::SendMessageW(w, CB_GETLBTEXTLEN, index, 0);
      std::wstring item(static_cast<std::size_t>(n) + 1, L'\0');
      ::SendMessageW(w, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
      item.resize(static_cast<std::size_t>(n));
      return platform::Narrow(item);
    }
    return TextOf(w);
  };
  const bool comboChange = code == CBN_EDITCHANGE || code == CBN_SELCHANGE;
  switch (id) {
    case ControlId::ComboBoxCpuType:
      if (!comboChange) return;
      c.ComboBoxCpuType.text = comboText(code);
      Run([this] { form_.ComboBoxCpuTypeChange(); });
      return;
    case ControlId::ComboBoxComPort:
      if (comboChange) c.ComboBoxComPort.text = comboText(code);
      return;
    case ControlId::ComboBoxBr1:
      if (comboChange) c.ComboBoxBr1.text = comboText(code);
      return;
    case ControlId::ComboBoxBr2:
      if (comboChange) c.ComboBoxBr2.text = comboText(code);
      return;
    case ControlId::CheckBox1:
      if (code == BN_CLICKED)
        c.CheckBox1.checked = ::SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
      return;
    case ControlId::CheckBox2:
      if (code != BN_CLICKED) return;
      c.CheckBox2.checked = ::SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
      Run([this] { form_.CheckBox2Click(); });
      return;
    case ControlId::Button5:
      if (code == BN_CLICKED) Run([this] { form_.Button5Click(); });
      return;
    case ControlId::ButtonProgram:
      if (code == BN_CLICKED) Run([this] { form_.ButtonProgramClick(); });
      return;
    case ControlId::Edit1:
      if (code == EN_CHANGE) c.Edit1.text = TextOf(w);
      if (code == EN_SETFOCUS) Run([this] { form_.Edit1Enter(); });
      return;
    default:
      return;
  }
}

LRESULT CALLBACK MainWindow::Edit1Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
  const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
  // Leaving the field for another control of the window, not leaving the window, is an exit.
  if (message == WM_KILLFOCUS) {
    auto* window = reinterpret_cast<MainWindow*>(self);
    HWND next = reinterpret_cast<HWND>(wParam);
    if (next != nullptr && ::GetParent(next) == window->hwnd_) {
      window->form_.controls.Edit1.text = window->TextOf(hwnd);
      window->Run([window] { window->form_.Edit1Exit(); });
    }
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
  return self->Handle(message, wParam, lParam);
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
    case WM_TIMER:
      if (wParam == kTimer2) Run([this] { form_.Timer2Timer(); });
      return 0;
    case WM_MOVE: {
      TrackFrame();
      if (ownMove_) return 0;
      RECT r{};
      ::GetWindowRect(hwnd_, &r);
      placed_ = {r.left, r.top};
      form_.controls.Form.left = r.left;
      form_.controls.Form.top = r.top;
      return 0;
    }
    case WM_EXITSIZEMOVE:
      Run([this] { form_.WindowMoveEnded(); });
      return 0;
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wParam);
      ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      wchar_t name[kDropBuffer] = {};
      std::vector<std::string> files;
      if (::DragQueryFileW(drop, 0, name, kDropBuffer) > 0) files.push_back(platform::Narrow(name));
      Run([this, &files] { form_.FilesDropped(files); });
      ::DragFinish(drop);
      return 0;
    }
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      // Senders use the ANSI code page; the size rule counts their bytes.
      const std::string_view bytes(static_cast<const char*>(data->lpData), data->cbData);
      const std::string text =
          platform::DecodeCodePage(bytes, ::GetACP()).value_or(std::string(bytes));
      Run([this, &text, bytes] { form_.CommandForwarded(text, bytes.size()); });
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HWND control = reinterpret_cast<HWND>(lParam);
      const auto defaultResult = ::DefWindowProcW(hwnd_, message, wParam, lParam);
      for (ControlId id : {ControlId::PanelCpuType, ControlId::PanelBr1, ControlId::PanelBr2}) {
        if (control == Control(id) && StateOf(form_.controls, id).greyed) {
          ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
        }
      }
      return defaultResult;
    }
    case WM_CLOSE:
      form_.FormClose();
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(form_.fields.JobResult);
      return 0;
    default:
      return ::DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

}  // namespace vantrel::win32
