#pragma once

#include <optional>

#include "app/window_layout.h"

namespace vantrel {

class TForm1;

// The window's active control, which decides Edit1's enter and exit: they run when the focus
// moves between the window's own controls, never when the window itself loses the focus and gets
// it back (another program, a message box, a menu), so that a path typed into Edit1 stays until
// the focus really leaves the field.
class ActiveControl {
 public:
  explicit ActiveControl(TForm1& form) : form_(form) {}

  // The focus is now on this control of the window, whatever moved it there.
  void FocusedOn(ControlId id);

 private:
  TForm1& form_;
  std::optional<ControlId> active_;
};

}  // namespace vantrel
