#include "core/window_display.h"

#include "core/format.h"

namespace vantrel {

void WindowDisplay::ShowStatus(std::string_view text) {
  controls_.Panel5.caption = text;
}

void WindowDisplay::ShowBlockPanels() {
  controls_.PAN_BLOCK_SIZE.caption = Format("BlockSize=%d", static_cast<int>(fields_.BlockSize));
  controls_.PAN_ROM_BASE.caption =
      Format("RomBase=%08X", static_cast<unsigned>(fields_.RomBaseAddr));
}

void WindowDisplay::Beep() {
  host_.Beep();
}

void WindowDisplay::Message(std::string_view text) {
  host_.Beep();
  host_.ShowMessageBox(text);
}

void WindowDisplay::Message(std::string_view text, FailureKind kind) {
  host_.Beep();
  host_.ShowFailureBox(text, kind);
}

void WindowDisplay::MessageWithoutBeep(std::string_view text) {
  host_.ShowMessageBox(text);
}

}  // namespace vantrel
