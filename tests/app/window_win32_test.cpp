#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "app/win32/main_window.h"
#include "app/win32/win32_host.h"
#include "platform/clock.h"
#include "platform/utf16_win32.h"
#include "support/designed_window.h"
#include "support/temp_folder.h"

namespace vantrel::testing {
namespace {

using platform::Narrow;

const wchar_t* ClassOf(DesignedKind kind) {
  switch (kind) {
    case DesignedKind::Panel:
    case DesignedKind::Label:
      return L"Static";
    case DesignedKind::Combo:
      return L"ComboBox";
    case DesignedKind::Check:
    case DesignedKind::Button:
      return L"Button";
    case DesignedKind::Edit:
      return L"Edit";
    case DesignedKind::Track:
      return TRACKBAR_CLASSW;
  }
  return L"";
}

std::string TextOf(HWND w) {
  wchar_t text[512] = {};
  ::GetWindowTextW(w, text, 512);
  return Narrow(text);
}

// The Windows window built from the layout data, held to the window as designed.
TEST(Win32Window, EveryControlAsDesigned) {
  TempFolder home;
  DesktopHost host(win32::kToolkit);
  platform::MonotonicClock clock;
  TForm1 form(host, clock);
  win32::MainWindow window(form, host, clock);
  host.AttachWindow(&window);
  for (const char* name : {"VTC1.mot", "VTC-100.mot"})
    home.Write(std::string("CTRL_MOT/") + name, "");
  form.Initialise(home.PathOf("vantrel.exe"), {});
  window.Show();

  HWND main = window.handle();
  EXPECT_EQ(TextOf(main), kDesignedCaption);
  RECT client{};
  ::GetClientRect(main, &client);
  EXPECT_EQ(client.right, kDesignedClientWidth);
  EXPECT_EQ(client.bottom, kDesignedClientHeight);
  const LONG style = ::GetWindowLongW(main, GWL_STYLE);
  EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(style & WS_MINIMIZEBOX);

  for (std::size_t i = 0; i < kDesignedControls.size(); ++i) {
    const auto& c = kDesignedControls[i];
    HWND w = window.Control(static_cast<ControlId>(i));
    ASSERT_EQ(LayoutOf(static_cast<ControlId>(i)).name, c.name);
    wchar_t cls[64] = {};
    ::GetClassNameW(w, cls, 64);
    EXPECT_EQ(::lstrcmpiW(cls, ClassOf(c.kind)), 0) << c.name << " " << Narrow(cls);
    RECT r{};
    ::GetWindowRect(w, &r);
    ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, c.left) << c.name;
    EXPECT_EQ(r.top, c.top) << c.name;
    EXPECT_EQ(r.right - r.left, c.width) << c.name;
    EXPECT_EQ(r.bottom - r.top, c.height) << c.name;
    if (c.text != nullptr) {
      EXPECT_EQ(TextOf(w), c.text) << c.name;
    }
    // A track bar draws no text and keeps no font.
    if (c.kind != DesignedKind::Track) {
      LOGFONTW font{};
      ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(w, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
      EXPECT_EQ(Narrow(font.lfFaceName), c.face) << c.name;
      EXPECT_EQ(-font.lfHeight, c.px) << c.name;
    }
    EXPECT_EQ(::IsWindowEnabled(w) != FALSE, c.enabled) << c.name;
    EXPECT_EQ(::IsWindowVisible(w) != FALSE, c.visible) << c.name;
  }
  HWND bar = window.Control(ControlId::TrackBar1);
  EXPECT_EQ(::SendMessageW(bar, TBM_GETRANGEMAX, 0, 0), 1000);
  EXPECT_TRUE(::GetWindowLongW(bar, GWL_STYLE) & TBS_TOP);
  EXPECT_TRUE(::GetWindowLongW(window.Control(ControlId::Panel5), GWL_STYLE) & SS_SUNKEN);

  HWND at = window.Control(ControlId::ComboBoxComPort);
  for (std::size_t i = 1; i < kDesignedTabOrder.size(); ++i) {
    at = ::GetNextDlgTabItem(main, at, FALSE);
    const int index = ::GetDlgCtrlID(at) - 100;
    ASSERT_GE(index, 0);
    EXPECT_EQ(LayoutOf(static_cast<ControlId>(index)).name, kDesignedTabOrder[i]);
  }
  EXPECT_TRUE(::IsChild(window.Control(ControlId::ComboBoxComPort), ::GetFocus()));
  HWND cpu = window.Control(ControlId::ComboBoxCpuType);  // not the system's order, blind to '-'
  EXPECT_EQ(::SendMessageW(cpu, CB_FINDSTRINGEXACT, -1, (LPARAM)L"VTC-100.mot"), 0);
  ::ShowWindow(main, SW_MINIMIZE);  // the position saved is the window's, not the icon's
  EXPECT_EQ(form.controls.Form.left, 0);
}

}  // namespace
}  // namespace vantrel::testing
