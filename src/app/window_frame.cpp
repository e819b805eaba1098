#include "app/window_frame.h"

namespace vantrel {

std::optional<ScreenPoint> WindowFrame::OwnMove() {
  const ScreenPoint wanted{form_.left, form_.top};
  if (placed_ == wanted) return std::nullopt;
  placed_ = wanted;
  ownMove_ = true;
  return wanted;
}

bool WindowFrame::Moved(ScreenPoint at) {
  // The program's own move keeps the position it asked for, whatever frame the platform adds.
  if (ownMove_) {
    ownMove_ = false;
    return false;
  }
  placed_ = at;
  form_.left = at.left;
  form_.top = at.top;
  return true;
}

void WindowFrame::Sized(int width, int height) {
  form_.width = width;
  form_.height = height;
}

}  // namespace vantrel
