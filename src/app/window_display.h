#pragma once

#include <cstdint>
#include <string_view>

#include "app/window_controls.h"
#include "app/window_fields.h"
#include "app/window_host.h"

namespace vantrel {

// "BlockSize=%d" and "RomBase=%08X" into PAN_BLOCK_SIZE and PAN_ROM_BASE.
void ShowBlockLayout(WindowControls& controls, std::uint16_t blockSize, std::uint32_t romBase);

// The display conventions every operation uses: the status line, the block panels, the beep and
// the message box.
class WindowDisplay {
 public:
  WindowDisplay(WindowHost& host, WindowControls& controls, const WindowFields& fields)
      : host_(host), controls_(controls), fields_(fields) {}

  // Replaces the text of the status line Panel5.
  void ShowStatus(std::string_view text);
  // "BlockSize=%d" and "RomBase=%08X" into PAN_BLOCK_SIZE and PAN_ROM_BASE.
  void ShowBlockPanels();
  void Beep();
  // The message convention: the default beep, then the modal box.
  void Message(std::string_view text);
  // The box alone, for the few places that beep separately or not at all.
  void MessageWithoutBeep(std::string_view text);

  WindowHost& host() { return host_; }
  WindowControls& controls() { return controls_; }

 private:
  WindowHost& host_;
  WindowControls& controls_;
  const WindowFields& fields_;
};

}  // namespace vantrel
