#include "app/tform1.h"

namespace vantrel {
namespace {

// A saved corner this close to the right or bottom edge, or beyond it, centres the window.
constexpr std::int32_t kPlaceMargin = 65;
constexpr std::int32_t kSnapDistance = 20;

}  // namespace

void TForm1::PlaceWindow(std::int32_t left, std::int32_t top) {
  FormModel& form = controls.Form;
  form.top = top < 0 ? 0 : top;
  form.left = left < 0 ? 0 : left;
  const ScreenRect screen = host_.Screen();
  if (form.left - screen.left > screen.width - kPlaceMargin ||
      form.top - screen.top > screen.height - kPlaceMargin) {
    form.left = screen.left + (screen.width - form.width) / 2;
    form.top = screen.top + (screen.height - form.height) / 2;
  }
}

void TForm1::SnapWindow() {
  if (!fields.ReadyForSnap || !controls.CheckBox2.checked) return;
  const ScreenRect s = host_.Screen();
  FormModel& form = controls.Form;
  const std::int32_t l = form.left - s.left;
  const std::int32_t t = form.top - s.top;
  const std::int32_t w = form.width;
  const std::int32_t h = form.height;
  if (l < kSnapDistance) form.left = s.left;
  if (s.width - (l + w) < kSnapDistance) form.left = s.left + s.width - w;
  if (t < kSnapDistance) form.top = s.top;
  if (s.height - (t + h) < kSnapDistance) form.top = s.top + s.height - h;
}

void TForm1::SetSnapChecked(bool checked) {
  if (controls.CheckBox2.checked == checked) return;
  controls.CheckBox2.checked = checked;
  CheckBox2Click();
}

}  // namespace vantrel
