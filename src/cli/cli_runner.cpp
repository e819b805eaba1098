#include "cli/cli_runner.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>

#include "app/tform1.h"
#include "cli/console_host.h"
#include "cli/prepare_job.h"
#include "platform/clock.h"

namespace vantrel::cli {
namespace {

volatile sig_atomic_t gAbortRequested = 0;

void OnInterrupt(int) {
  gAbortRequested = 1;
}

void CatchInterrupts() {
  struct sigaction sa {};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
}

constexpr std::uint32_t kTickMs = 10;

}  // namespace

int RunCli(const CliOptions& options) {
  CatchInterrupts();
  ConsoleHost host(stderr, ::isatty(STDERR_FILENO) == 1);
  host.SetShiftHeld(options.cpuReport);
  platform::MonotonicClock clock;
  TForm1 form(host, clock);

  if (const auto error = PrepareJob(form, options)) {
    std::fprintf(stderr, "vantrel-cli: %s (see --help)\n", error->c_str());
    return kExitUsage;
  }

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
    if (gAbortRequested && !aborted && form.SequenceStep() != 0) {
      aborted = true;
      form.ButtonProgramClick();
    }
    form.Timer2Timer();
    const std::int32_t step = form.SequenceStep();
    if (step != 0) {
      started = true;
      host.ShowProgress(form.controls.TrackBar1.position, form.controls.Panel5.caption);
    } else if (started || gAbortRequested) {
      break;
    } else {
      // The job did not start (no file to write); the message has been printed.
      host.FinishProgress();
      return 1;
    }
  }
  host.FinishProgress();
  if (aborted || gAbortRequested) {
    std::fputs("aborted\n", stderr);
    return 1;
  }
  return form.fields.JobResult;
}

}  // namespace vantrel::cli
