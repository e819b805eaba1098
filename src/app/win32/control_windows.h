#pragma once

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/control_push.h"
#include "app/window_layout.h"

namespace vantrel::win32 {

// The main window, of the class TForm1, sized to its client area; its creation data is `self`.
HWND MakeFrameWindow(WNDPROC windowProc, void* self);

// The window's fonts, made once for each face and size.
class ControlFonts {
 public:
  ControlFonts() = default;
  ~ControlFonts();
  ControlFonts(const ControlFonts&) = delete;
  ControlFonts& operator=(const ControlFonts&) = delete;
  HFONT For(Face face, int px);

 private:
  std::map<std::pair<int, int>, HFONT> fonts_;
};

// The child window of a control as designed, with its font; not yet filled.
HWND MakeControlWindow(const ControlLayout& layout, HWND parent, int id, HFONT font);

std::string TextOf(HWND window);
// The text a combo box's notification is about: the picked item's, or the typed one.
std::string ComboText(HWND combo, int notification);
// The first of the files dropped, whole (the program cuts it as the original's buffer did).
std::vector<std::string> DroppedFiles(HDROP drop);

// Gives the control what changed in its model.
void PushToControl(HWND control, const ControlChange& change);

}  // namespace vantrel::win32
