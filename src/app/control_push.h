#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/window_layout.h"

namespace vantrel {

// One control whose model differs from what its widget was last given, and in what; only the
// parts its kind has (items: combo boxes, checked: check boxes, greyed: panels, position: the
// track bar, text: all but the track bar).
struct ControlChange {
  const ControlLayout* layout;
  ControlState state;
  bool text = false;
  bool items = false;
  bool checked = false;
  bool enabled = false;
  bool greyed = false;
  bool position = false;
};

// What changed in the models since the last push to the widgets. A widget changes only through
// events that update its model first, so a model as it was last pushed needs nothing done: the
// window idles every tick without touching a widget.
class ControlPush {
 public:
  // The controls whose models changed; from now on they count as pushed.
  std::vector<ControlChange> Changes(const WindowControls& controls);
  // What changed of the window itself; from now on it counts as pushed.
  struct FormChange {
    bool caption = false;
    bool acceptsDrops = false;
  };
  FormChange FormChanges(const FormModel& form);
  // The user changed the widget itself (typed, picked, clicked): it shows its model already.
  void Shown(const WindowControls& controls, ControlId id);

 private:
  struct Pushed {
    std::string text;
    std::vector<std::string> items;
    bool checked, enabled, greyed;
    int position;
  };
  static Pushed Of(const ControlState& s);

  std::array<std::optional<Pushed>, kControlCount> pushed_;
  std::optional<std::string> caption_;
  std::optional<bool> acceptsDrops_;
};

}  // namespace vantrel
