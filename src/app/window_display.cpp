#include "app/window_display.h"

#include "core/format.h"

namespace vantrel {

void WindowDisplay::ShowStatus(std::string_view text) {
  controls_.Panel5.caption = text;
}

void ShowBlockLayout(WindowControls& controls, std::uint16_t blockSize, std::uint32_t romBase) {
  controls.PAN_BLOCK_SIZE.caption = Format("BlockSize=%d", static_cast<int>(blockSize));
  controls.PAN_ROM_BASE.caption = Format("RomBase=%08X", static_cast<unsigned>(romBase));
}

void WindowDisplay::ShowBlockPanels() {
  ShowBlockLayout(controls_, fields_.BlockSize, fields_.RomBaseAddr);
}

void WindowDisplay::Beep() {
  host_.Beep();
}

void WindowDisplay::Message(std::string_view text) {
  host_.Beep();
  host_.ShowMessageBox(text);
}

void WindowDisplay::MessageWithoutBeep(std::string_view text) {
  host_.ShowMessageBox(text);
}

}  // namespace vantrel
