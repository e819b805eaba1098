#include "app/window_job.h"

#include "app/window_display.h"

namespace vantrel {

void WindowJob::Status(const JobStatus& status) {
  controls_.Panel5.caption = StatusText(status);
}

void WindowJob::Running(bool running) {
  controls_.ButtonProgram.caption = running ? "書き込み中止" : "書き込み開始";
}

void WindowJob::BlockLayout(std::uint16_t blockSize, std::uint32_t romBase) {
  ShowBlockLayout(controls_, blockSize, romBase);
}

void WindowJob::Notice(JobNotice notice, std::string_view text) {
  // Unattended, the process ends with the result instead of waiting for a press.
  if (notice != JobNotice::PortOpened && fields_.AutoExit) return;
  host_.ShowMessageBox(text);
}

void WindowJob::Ended(JobResultCode result) {
  if (fields_.AutoExit) host_.ExitProcess(static_cast<int>(result));
}

}  // namespace vantrel
