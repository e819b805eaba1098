#include "app/active_control.h"

#include "app/tform1.h"

namespace vantrel {

void ActiveControl::FocusedOn(ControlId id) {
  if (active_ == id) return;
  const bool leftEdit1 = active_ == ControlId::Edit1;
  // Set first: a box the handlers show moves the focus again.
  active_ = id;
  if (leftEdit1) form_.Edit1Exit();
  if (id == ControlId::Edit1) form_.Edit1Enter();
}

}  // namespace vantrel
