#include "app/desktop_host.h"

#include <cstdio>
#include <cstdlib>

namespace vantrel {

void DesktopHost::ShowMessageBox(std::string_view text) {
  std::fprintf(stderr, "vantrel: %.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(stderr);
  // The box must show the window as it is at this moment, also in the middle of a tick.
  if (window_) window_->SyncFromModels();
  toolkit_.showBox(window_, text);
}

std::optional<std::string> DesktopHost::ChooseFile(const FileDialogRequest& request) {
  if (window_) window_->SyncFromModels();
  return toolkit_.runFileDialog(window_, request, ParseDialogFilter(request.filter));
}

void DesktopHost::ExitProcess(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

ScreenRect DesktopHost::Screen() {
  return window_ ? window_->Screen() : ScreenRect{};
}

int DesktopHost::TextWidth(std::string_view text) {
  return window_ ? window_->Edit1TextWidth(text) : static_cast<int>(text.size());
}

void DesktopHost::MoveFocus(FocusTarget target) {
  if (window_) window_->MoveFocus(target);
}

}  // namespace vantrel
