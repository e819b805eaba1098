#include "cli/cli_runner.h"

#include <cstdio>

#include "app/tform1.h"
#include "cli/console_host.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/executable_path.h"
#include "platform/file_access.h"
#include "platform/stop_signals.h"

namespace vantrel::cli {
namespace {

constexpr std::uint32_t kTickMs = 10;

}  // namespace

int RunCli(const CliOptions& options) {
  platform::InstallStopSignals();
  ConsoleHost host(stderr, platform::PrepareConsole());
  host.SetShiftHeld(options.cpuReport);
  platform::MonotonicClock clock;
  TForm1 form(host, clock);

  form.fields.ExeFolder = options.home.empty() ? platform::ExecutableFolder() : options.home;
  form.controls.ComboBoxComPort.text = options.port;
  form.controls.ComboBoxCpuType.text = options.cpu;
  form.ApplyCpuType();
  if (options.baudBoot) form.controls.ComboBoxBr1.text = *options.baudBoot;
  if (options.baudProg) form.controls.ComboBoxBr2.text = *options.baudProg;
  form.controls.CheckBox1.checked = options.verify;
  form.fields.UserProgramPath = platform::AbsolutePath(options.file);
  form.controls.Edit1.text = form.fields.UserProgramPath;

  form.ButtonProgramClick();
  bool started = false;
  bool aborted = false;
  std::uint32_t next = clock.NowMs();
  for (;;) {
    next += kTickMs;
    const std::uint32_t now = clock.NowMs();
    if (static_cast<std::int32_t>(next - now) > 0) {
      platform::SleepMs(next - now);
    } else {
      next = now;  // a slow tick lengthens nothing but the reaction time
    }
    if (platform::StopRequested() && !aborted && form.SequenceStep() != 0) {
      aborted = true;
      form.ButtonProgramClick();
    }
    form.Timer2Timer();
    const std::int32_t step = form.SequenceStep();
    if (step != 0) {
      started = true;
      host.ShowProgress(form.controls.TrackBar1.position, form.controls.Panel5.caption);
    } else if (started || platform::StopRequested()) {
      break;
    } else {
      // The job did not start (no file to write); the message has been printed.
      host.FinishProgress();
      return 1;
    }
  }
  host.FinishProgress();
  if (aborted || platform::StopRequested()) {
    std::fputs("aborted\n", stderr);
    return 1;
  }
  return form.fields.JobResult;
}

}  // namespace vantrel::cli
