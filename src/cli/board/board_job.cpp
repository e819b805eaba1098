#include "cli/board/board_job.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

#include "cli/board/board_events.h"
#include "cli/board/failure_hint.h"
#include "cli/board/prepare_job.h"
#include "cli/board/traced_device.h"
#include "cli/records/sha256.h"
#include "config/auto_command.h"
#include "config/control_folder.h"
#include "inquiry/cpu_info_report.h"
#include "job/marked_blocks.h"
#include "job/programming_job.h"
#include "job/tick_driver.h"
#include "platform/clock.h"
#include "platform/executable_path.h"
#include "platform/interrupt_flag.h"
#include "platform/latency_timer.h"
#include "platform/path_separators.h"

namespace vantrel::cli {
namespace {

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

JobOutcome DecideOutcome(JobResultCode jobResult, bool interrupted, bool verify) {
  if (jobResult == JobResultCode::Completed) return {0, verify ? "verified" : "written", false};
  if (jobResult == JobResultCode::VerifyFailed) return {2, "verify-failed", false};
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
  BoardRecord r;
  PreparedJob prepared;
  const auto error = PrepareJob(o, s.port, prepared);
  const JobSettings& settings = prepared.settings;
  BoardEvents events(s.console, s.index, s.events, error ? s.port : settings.port);
  for (const auto& message : prepared.messages) events.Message(message);
  if (error) {
    r.port = s.port;
    r.exitCode = kExitUsage;
    r.result = "failed";
    r.message = *error;
    events.End(JobResultCode::NotCompleted, r.result, r.exitCode);
    return r;
  }
  const ProgrammingJob* traced = nullptr;
  if (s.trace != nullptr) {
    device = std::make_unique<TracedDevice>(
        std::move(device), *s.trace, s.labelTrace ? s.port : std::string(),
        [&traced] { return traced ? static_cast<int>(traced->step()) : 0; });
  }
  FixedInputs inputs(settings);
  ProgrammingJob job(inputs, events, clock, std::move(device));
  traced = &job;
  job.cpuInfoFileName = s.cpuInfoFileName;
  const std::string& port = settings.port;
  bool lineLostSaid = false;
  const std::string portJobFile =
      s.port.empty() && o.job ? AutoPgmPath(settings.exeFolder, *o.job) : std::string();
  events.SetHint([&](const JobFailureEvent& failure) {
    // Whichever step's message comes first, the dead line is the story, and told once.
    const bool lineLost = job.port().LineLost();
    if (lineLost && std::exchange(lineLostSaid, true)) return std::string();
    return FailureHint(failure,
                       {port, settings.baudBoot, job.port().status() == PortStatus::Open,
                        events.switchedRate().value_or(settings.baudProg), portJobFile, lineLost});
  });

  r.port = port;
  r.cpuType = settings.cpuType;
  r.controlFile.path = ControlFolderFile(settings.exeFolder, r.cpuType, settings.dataFolder);
  r.controlFile.sha256 = FileSha256(r.controlFile.path).value_or(std::string());
  r.baudBoot = settings.baudBoot;
  r.baudProg = settings.baudProg;
  r.blockSize = settings.blockSize;
  r.romBaseAddr = settings.romBase;
  r.toolVersion = ToolVersion();
  r.userProgram = settings.userProgram;
  r.startTime = UtcNow();
  const std::uint32_t startMs = clock.NowMs();
  TickDriver driver(job, clock, o.tickMode);
  bool aborted = false;
  bool portLost = false;
  bool latencyAsked = false;
  job.Start();
  while (job.Running()) {
    // Asked while the port is open: low-latency mode may have lowered the timer.
    if (!latencyAsked && job.port().status() == PortStatus::Open) {
      latencyAsked = true;
      const std::string hint = LatencyTimerHint(platform::FindLatencyTimer(port), port);
      if (!hint.empty()) events.Say(hint);
    }
    if (platform::InterruptRequested() && !aborted) {
      aborted = true;
      job.Abort();
    }
    // The window waits out the next exchange's time-out and says so a second time; on a
    // terminal the port's own message and hint are the whole story.
    if (events.portFailed() && !portLost && !aborted) {
      portLost = true;
      job.Abort();
    }
    const TickPlan plan = driver.Run();
    if (!job.Running()) break;
    s.console.Refresh();
    driver.Wait(plan);
  }
  const JobOutcome outcome = DecideOutcome(events.result(), aborted, settings.verify);
  if (outcome.aborted) events.Say("aborted");
  r.exitCode = outcome.exitCode;
  // The window keeps quiet about it; asked for the report, the command line must not.
  if (o.cpuReport && job.CpuInfoReportLost()) {
    events.Say("vantrel-cli: cannot write the CPU report " +
               platform::JoinPath(settings.exeFolder, job.cpuInfoFileName));
    if (r.exitCode == 0) r.exitCode = 1;
  }
  r.result = outcome.result;
  r.message = outcome.aborted ? "aborted" : WithoutFramingBlanks(events.lastMessage());
  if (outcome.exitCode == 2) {
    r.firstDifference = job.VerifyMismatchAddress();
    // A dead line ends the verification's wait early: the wait did not run out.
    r.verifyFailure = job.port().LineLost()
                          ? std::string("line-lost")
                          : std::string(VerifyFailureName(job.VerifyFailureSeen()));
  }
  if (outcome.exitCode != 1) r.sha256 = WrittenDataSha256(job.image(), settings.blockSize);
  // The job's own clock: a board job is far shorter than the 49 days the count takes to wrap.
  r.seconds = static_cast<std::uint32_t>(clock.NowMs() - startMs) / 1000.0;
  r.bytesSent = job.port().activity().bytesSent;
  r.bytesReceived = job.port().activity().bytesReceived;
  events.End(events.result(), r.result, r.exitCode);
  return r;
}

}  // namespace vantrel::cli
