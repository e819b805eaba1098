#include "app/control_push.h"

namespace vantrel {

ControlPush::Pushed ControlPush::Of(const ControlState& s) {
  static const std::vector<std::string> kNoItems;
  return {std::string(s.text), s.items ? *s.items : kNoItems, s.checked, s.enabled, s.greyed,
          s.position};
}

std::vector<ControlChange> ControlPush::Changes(const WindowControls& controls) {
  std::vector<ControlChange> changes;
  for (const auto& l : WindowLayout()) {
    const ControlState s = StateOf(controls, l.id);
    Pushed now = Of(s);
    auto& last = pushed_[static_cast<std::size_t>(l.id)];
    // Never pushed: everything is new. Each kind has only some of the parts.
    const auto differs = [&](auto member) { return !last || now.*member != (*last).*member; };
    const ControlKind k = l.kind;
    ControlChange c{&l,
                    s,
                    k != ControlKind::TrackBar && differs(&Pushed::text),
                    s.items != nullptr && differs(&Pushed::items),
                    k == ControlKind::CheckBox && differs(&Pushed::checked),
                    differs(&Pushed::enabled),
                    k == ControlKind::Panel && differs(&Pushed::greyed),
                    k == ControlKind::TrackBar && differs(&Pushed::position)};
    if (c.text || c.items || c.checked || c.enabled || c.greyed || c.position) {
      changes.push_back(c);
      last = std::move(now);
    }
  }
  return changes;
}

ControlPush::FormChange ControlPush::FormChanges(const FormModel& form) {
  const FormChange change{caption_ != form.caption, acceptsDrops_ != form.acceptsDrops};
  caption_ = form.caption;
  acceptsDrops_ = form.acceptsDrops;
  return change;
}

void ControlPush::Shown(const WindowControls& controls, ControlId id) {
  // Only what the user can change; anything else still waits for its push.
  auto& last = pushed_[static_cast<std::size_t>(id)];
  if (!last) return;
  const ControlState s = StateOf(controls, id);
  last->text = s.text;
  last->checked = s.checked;
}

}  // namespace vantrel
