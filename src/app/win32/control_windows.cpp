#include "app/win32/control_windows.h"

#include <commctrl.h>
#include <shellapi.h>

#include "platform/utf16_win32.h"

namespace vantrel::win32 {
namespace {

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
      // Lists come in the order app/ gives them: the system's sort would ignore '-'.
      return {L"COMBOBOX", base | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
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

HWND MakeFrameWindow(WNDPROC windowProc, void* self) {
  constexpr wchar_t kClassName[] = L"TForm1";
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  INITCOMMONCONTROLSEX common{sizeof common, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&common);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);
  RECT frame{0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  return ::CreateWindowExW(0, kClassName, platform::Widen(kWindowCaption).c_str(), kStyle,
                           CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                           frame.bottom - frame.top, nullptr, nullptr, instance, self);
}

ControlFonts::~ControlFonts() {
  for (auto& [key, font] : fonts_) ::DeleteObject(font);
}

HFONT ControlFonts::For(Face face, int px) {
  const auto key = std::make_pair(static_cast<int>(face), px);
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
  const std::wstring name = platform::Widen(kFaceNames[static_cast<std::size_t>(face)]);
  HFONT font = ::CreateFontW(-px, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, name.c_str());
  fonts_[key] = font;
  return font;
}

HWND MakeControlWindow(const ControlLayout& l, HWND parent, int id, HFONT font) {
  const ClassStyle cs = StyleOf(l);
  // A combo box's height includes its dropped-down list.
  const int height =
      l.kind == ControlKind::ComboBox ? l.height + l.dropDownRows * 16 + 2 : l.height;
  HWND control = ::CreateWindowExW(cs.exStyle, cs.className, platform::Widen(l.text).c_str(),
                                   cs.style, l.left, l.top, l.width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (l.kind == ControlKind::ComboBox) {
    // The closed box is exactly as high as designed.
    ::SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), l.height - 6);
  }
  if (l.kind == ControlKind::TrackBar) {
    const TrackBarModel range;
    ::SendMessageW(control, TBM_SETRANGEMIN, FALSE, range.min);
    ::SendMessageW(control, TBM_SETRANGEMAX, FALSE, range.max);
    ::SendMessageW(control, TBM_SETTICFREQ, kTrackBarTickEvery, 0);
  }
  return control;
}

std::string TextOf(HWND window) {
  const int n = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), n + 1)));
  return platform::Narrow(text);
}

std::string ComboText(HWND combo, int notification) {
  const auto index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (notification != CBN_SELCHANGE || index == CB_ERR) return TextOf(combo);
  const auto n = ::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  std::wstring item(static_cast<std::size_t>(n) + 1, L'\0');
  ::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
  item.resize(static_cast<std::size_t>(n));
  return platform::Narrow(item);
}

std::vector<std::string> DroppedFiles(HDROP drop) {
  const UINT n = ::DragQueryFileW(drop, 0, nullptr, 0);
  if (n == 0) return {};
  std::wstring name(n + 1, L'\0');
  name.resize(::DragQueryFileW(drop, 0, name.data(), n + 1));
  return {platform::Narrow(name)};
}

void PushToControl(HWND w, const ControlChange& c) {
  const ControlKind kind = c.layout->kind;
  if (c.items) {
    // Empties the edit field too: the text follows.
    ::SendMessageW(w, CB_RESETCONTENT, 0, 0);
    for (const auto& item : *c.state.items) {
      ::SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Widen(item).c_str()));
    }
  }
  if (c.text || c.items) {
    ::SetWindowTextW(w, platform::Widen(c.state.text).c_str());
  }
  // A panel's caption and colour are drawn anew.
  if ((c.text && kind == ControlKind::Panel) || c.greyed) ::InvalidateRect(w, nullptr, TRUE);
  if (c.checked) ::SendMessageW(w, BM_SETCHECK, c.state.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (c.position) ::SendMessageW(w, TBM_SETPOS, TRUE, c.state.position);
  if (c.enabled) ::EnableWindow(w, c.state.enabled);
}

}  // namespace vantrel::win32
