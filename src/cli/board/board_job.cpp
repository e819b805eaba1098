#include "cli/board/board_job.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <utility>

#include "app/tform1.h"
#include "job/tick_driver.h"
#include "cli/board/console_host.h"
#include "cli/board/failure_hint.h"
#include "cli/board/prepare_job.h"
#include "cli/board/traced_device.h"
#include "cli/records/sha256.h"
#include "config/auto_command.h"
#include "config/control_folder.h"
#include "inquiry/cpu_info_report.h"
#include "job/marked_blocks.h"
#include "platform/clock.h"
#include "platform/executable_path.h"
#include "platform/interrupt_flag.h"
#include "platform/latency_timer.h"
#include "platform/path_separators.h"

namespace vantrel::cli {
namespace {

std::string UtcNow() {
  using namespace std::chrono;
  const auto now = time_point_cast<milliseconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss time{now - day};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", int(date.year()),
                unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                int(time.minutes().count()), int(time.seconds().count()),
                int(time.subseconds().count()));
  return text;
}

// Keeps letters, digits, '.', '-' and '_' of a port name: "/dev/ttyUSB0" gives "ttyUSB0",
// "/dev/serial/by-id/usb-X" gives "serial_by-id_usb-X".
std::string PortInFileName(std::string_view port) {
  if (port.starts_with("/dev/")) port.remove_prefix(5);
  std::string part;
  for (const char c : port) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '-' || c == '_';
    part += keep ? c : '_';
  }
  return part;
}

}  // namespace

JobOutcome DecideOutcome(int jobResult, bool interrupted, bool verify) {
  if (jobResult == 0) return {0, verify ? "verified" : "written", false};
  if (jobResult == 2) return {2, "verify-failed", false};
  return {1, interrupted ? "aborted" : "failed", interrupted};
}

std::vector<std::string> CpuInfoFileNames(const std::vector<std::string>& ports) {
  if (ports.size() <= 1) return std::vector<std::string>(ports.size(), kCpuInfoFileName);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < ports.size(); ++i) {
    std::string name = "CpuInf-" + PortInFileName(ports[i]);
    // Two ports whose names differ only in left-out characters must not share a report.
    if (std::find(names.begin(), names.end(), name + ".txt") != names.end()) {
      name += "-" + std::to_string(i + 1);
    }
    names.push_back(name + ".txt");
  }
  return names;
}

std::string WrittenDataSha256(const ProgramImage& image, std::uint16_t blockSize) {
  Sha256 hash;
  for (std::size_t n = FindMarkedBlock(image.blocks, 0, blockSize); n < kBlockCount;
       n = FindMarkedBlock(image.blocks, n + 1, blockSize)) {
    hash.Update(BlockBytes(image.memory, n, blockSize));
  }
  return hash.HexDigest();
}

BoardRecord RunBoardJob(const BoardSetup& s) {
  platform::MonotonicClock clock;
  return RunBoardJob(s, clock, platform::MakeSystemSerialDevice());
}

BoardRecord RunBoardJob(const BoardSetup& s, platform::Clock& clock,
                        std::unique_ptr<platform::SerialDevice> device) {
  const CliOptions& o = s.options;
  ConsoleHost host(s.console, s.index);
  host.SetShiftHeld(o.cpuReport);
  const TForm1* traced = nullptr;
  if (s.trace != nullptr) {
    device = std::make_unique<TracedDevice>(
        std::move(device), *s.trace, s.labelTrace ? s.port : std::string(),
        [&traced] { return traced ? static_cast<int>(traced->SequenceStep()) : 0; });
  }
  TForm1 form(host, clock, std::move(device));
  traced = &form;
  BoardRecord r;
  if (auto error = PrepareJob(form, o, s.port)) {
    r.port = s.port;
    r.exitCode = kExitUsage;
    r.result = "failed";
    r.message = std::move(*error);
    return r;
  }
  form.job().cpuInfoFileName = s.cpuInfoFileName;
  const std::string& port = form.controls.ComboBoxComPort.text;
  bool lineLostSaid = false;
  const std::string portJobFile =
      s.port.empty() && o.job ? AutoPgmPath(form.fields.ExeFolder, *o.job) : std::string();
  host.SetHint([&form, &port, &lineLostSaid, &portJobFile](FailureKind kind) {
    // Whichever step's message comes first, the dead line is the story, and told once.
    if (form.port().LineLost()) {
      if (std::exchange(lineLostSaid, true)) return std::string();
      kind = FailureKind::LineLost;
    }
    return FailureHint(kind,
                       {port, form.controls.ComboBoxBr1.text, form.port().status() == PortStatus::Open,
                        form.controls.ComboBoxBr2.text, form.job().VerifyMismatchAddress(), portJobFile});
  });

  r.port = port;
  r.cpuType = form.controls.ComboBoxCpuType.text;
  r.controlFile.path = ControlFolderFile(form.fields.ExeFolder, r.cpuType, form.fields.DataFolder);
  r.controlFile.sha256 = FileSha256(r.controlFile.path).value_or(std::string());
  r.baudBoot = form.controls.ComboBoxBr1.text;
  r.baudProg = form.controls.ComboBoxBr2.text;
  r.blockSize = form.fields.BlockSize;
  r.romBaseAddr = form.fields.RomBaseAddr;
  r.toolVersion = ToolVersion();
  r.userProgram = form.fields.UserProgramPath;
  r.startTime = UtcNow();
  const std::uint32_t startMs = clock.NowMs();
  // Until the job says otherwise, nothing has been done.
  form.fields.JobResult = JobResultCode::NotCompleted;
  TickDriver driver(form.job(), clock, o.tickMode);
  bool aborted = false;
  bool portLost = false;
  bool latencyAsked = false;
  host.Follow(form.controls);
  form.ButtonProgramClick();
  while (form.SequenceStep() != 0) {
    // Asked while the port is open: low-latency mode may have lowered the timer.
    if (!latencyAsked && form.port().status() == PortStatus::Open) {
      latencyAsked = true;
      const std::string hint = LatencyTimerHint(platform::FindLatencyTimer(port), port);
      if (!hint.empty()) host.Say(hint);
    }
    if (platform::InterruptRequested() && !aborted) {
      aborted = true;
      form.ButtonProgramClick();
    }
    // The window waits out the next exchange's time-out and says so a second time; on a
    // terminal the port's own message and hint are the whole story.
    if (host.portFailed() && !portLost && !aborted) {
      portLost = true;
      form.ButtonProgramClick();
    }
    const TickPlan plan = driver.Run();
    if (form.SequenceStep() == 0) break;
    host.ShowProgress();
    driver.Wait(plan);
  }
  const JobOutcome outcome =
      DecideOutcome(static_cast<int>(form.fields.JobResult), aborted, form.controls.CheckBox1.checked);
  if (outcome.aborted) host.Say("aborted");
  r.exitCode = outcome.exitCode;
  // The window keeps quiet about it; asked for the report, the command line must not.
  if (o.cpuReport && form.job().CpuInfoReportLost()) {
    host.Say("vantrel-cli: cannot write the CPU report " +
             platform::JoinPath(form.fields.ExeFolder, form.job().cpuInfoFileName));
    if (r.exitCode == 0) r.exitCode = 1;
  }
  r.result = outcome.result;
  r.message = outcome.aborted ? "aborted" : WithoutFramingBlanks(host.lastMessage());
  if (outcome.exitCode == 2) {
    r.firstDifference = form.job().VerifyMismatchAddress();
    // A dead line ends the verification's wait early: the wait did not run out.
    r.verifyFailure = form.port().LineLost()
                          ? std::string("line-lost")
                          : std::string(VerifyFailureName(form.job().VerifyFailureSeen()));
  }
  if (outcome.exitCode != 1) r.sha256 = WrittenDataSha256(form.image(), form.fields.BlockSize);
  // The job's own clock: a board job is far shorter than the 49 days the count takes to wrap.
  r.seconds = static_cast<std::uint32_t>(clock.NowMs() - startMs) / 1000.0;
  r.bytesSent = form.port().activity().bytesSent;
  r.bytesReceived = form.port().activity().bytesReceived;
  return r;
}

}  // namespace vantrel::cli
