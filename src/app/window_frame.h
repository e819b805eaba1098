#pragma once

#include <optional>

#include "app/window_controls.h"

namespace vantrel {

// A position on the screen, in pixels.
struct ScreenPoint {
  int left = 0;
  int top = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// The window's frame between the model and the toolkit. The program's own moves are not the
// user's: only the user's moves change the model, and the end of them snaps the window.
class WindowFrame {
 public:
  explicit WindowFrame(FormModel& form) : form_(form) {}

  // Where to move the window: once for every position the model asks for.
  std::optional<ScreenPoint> OwnMove();
  // A move of the toolkit's that came at once, or not at all, is over.
  void OwnMoveDone() { ownMove_ = false; }
  // The window's frame is now at this position. True when the user moved it.
  bool Moved(ScreenPoint at);
  void Sized(int width, int height);

 private:
  FormModel& form_;
  std::optional<ScreenPoint> placed_;
  bool ownMove_ = false;
};

}  // namespace vantrel
