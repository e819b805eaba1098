#include "app/tform1.h"
#include "app/window_layout.h"
#include "config/path_rules.h"
#include "platform/path_separators.h"
#include "platform/text_encoding.h"

namespace vantrel {
namespace {

// Dropped and chosen names travel in a buffer of 260, counted as the system counts them.
constexpr std::size_t kPathLimit = 259;

std::string CutToPathLimit(std::string_view path) {
  return std::string(platform::CutFileName(path, kPathLimit));
}

}  // namespace

void TForm1::SetUserProgram(std::string_view text, bool messageOnWrongExtension) {
  const std::string path(text);  // the text may be Edit1's own
  if (!IsUserProgramExtension(path)) {
    if (messageOnWrongExtension) display_.Message(" 拡張子は \".MOT\" or \".S\" のみサポート　");
    return;
  }
  fields.UserProgramPath = path;
  fields.LastFolder = FolderPart(path);
  if (fields.FixedProgram) {
    controls.Edit1.text = platform::FileNamePart(path);
    return;
  }
  const int width = host_.TextWidth(controls.Label1.caption);
  controls.Edit1.text = ShortenPath(
      path, [this](std::string_view text) { return host_.TextWidth(text); }, width);
}

void TForm1::Edit1Enter() {
  controls.Edit1.text = fields.UserProgramPath;
}

void TForm1::Edit1Exit() {
  fields.UserProgramPath = controls.Edit1.text;
  SetUserProgram(controls.Edit1.text, true);
}

void TForm1::Button5Click() {
  const auto chosen = host_.ChooseFile(
      {controls.OpenDialog1Title, std::string(kOpenDialogFilter), fields.LastFolder});
  if (!chosen) return;
  SetUserProgram(CutToPathLimit(*chosen), true);
}

void TForm1::FilesDropped(const std::vector<std::string>& paths) {
  if (paths.empty() || fields.FixedProgram) return;
  host_.MoveFocus(FocusTarget::Button5);
  SetUserProgram(CutToPathLimit(paths.front()), true);
}

}  // namespace vantrel
