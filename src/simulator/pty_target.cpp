#include "simulator/pty_target.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/interrupt_flag.h"
#include "platform/pty.h"
#include "simulator/flash_dump.h"
#include "simulator/target_model.h"

namespace vantrel::simulator {
namespace {

constexpr int kTickMs = 10;
// A host gone longer than this is a user who has reset the board; a classic job's reopen at
// the programming rate is far shorter.
constexpr std::uint64_t kResetAfterUs = 1'000'000;
// Noise comes just after the open, once the host has set up its port (which flushes input).
constexpr std::uint64_t kNoiseDelayUs = 5'000;
constexpr std::uint64_t kRunUs = 1'000;
constexpr int kWriteTimeoutMs = 500;
constexpr std::uint32_t kHangUpGraceMs = 100;

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (auto b : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

class PtyTarget {
 public:
  PtyTarget(const ProgramOptions& options, std::FILE* out, std::FILE* err)
      : options_(options), out_(out), err_(err) {
    NewBoard();
  }

  int Run() {
    // Whoever reads the path may stop us at once: the handlers must be in place first.
    platform::InstallInterruptFlag();
    if (!PlugIn()) return 1;
    const int code = Serve();
    if (code == 0) Dump("exit");
    return code;
  }

 private:
  void NewBoard() {
    TargetOptions target = options_.target;
    target.trace = [this](std::string_view text) { Log(1, text); };
    model_.emplace(std::move(target));
    lastDump_.assign(model_->flash().bytes().begin(), model_->flash().bytes().end());
  }

  // A line the host can open: the pseudo-terminal, its link, its path on stdout.
  bool PlugIn() {
    std::string error;
    if (!pty_.Open(&error) ||
        (!options_.linkPath.empty() && !pty_.Link(options_.linkPath, &error))) {
      std::fprintf(err_, "vantrel-target: %s\n", error.c_str());
      return false;
    }
    std::fprintf(out_, "%s\n", pty_.slavePath().c_str());
    std::fflush(out_);
    return true;
  }

  // The board leaves the line, its device and link with it, and a new one comes: a station's
  // host must see the port go and come back before it programs again.
  bool Replug() {
    SendDue(std::numeric_limits<std::uint64_t>::max());
    platform::SleepMs(kHangUpGraceMs);
    pty_.Close();
    Log(1, "board unplugged");
    for (std::uint32_t waited = 0; waited < *options_.replugMs; waited += kTickMs) {
      if (platform::InterruptRequested()) return true;
      platform::SleepMs(kTickMs);
    }
    ++board_;
    NewBoard();
    present_ = false;
    noiseDone_ = false;
    resetPending_ = false;
    Log(1, "board " + std::to_string(board_) + " plugged in");
    return PlugIn();
  }

  // After a job: nothing when the target serves on, else its exit code.
  std::optional<int> JobOver() {
    if (CountJob()) return 0;
    if (options_.replugMs && !Replug()) return 1;
    return std::nullopt;
  }

  int Serve() {
    while (!platform::InterruptRequested()) {
      std::uint64_t now = platform::MonotonicMicros();
      const auto event = pty_.Wait(present_ ? WaitUs(now) : 0);
      now = platform::MonotonicMicros();
      if (event == platform::PtyMaster::Event::Failed) {
        std::fprintf(err_, "vantrel-target: the pseudo-terminal failed\n");
        return 1;
      }
      bool host = event != platform::PtyMaster::Event::NoHost;
      if (event == platform::PtyMaster::Event::Input) host = TakeInput(now);
      if (host != present_) HostChanged(host, now);

      if (present_) {
        if (!noiseDone_ && now - presentSince_ >= kNoiseDelayUs) {
          model_->HostOpened(now);
          noiseDone_ = true;
        }
        SendDue(now);
      } else {
        // Whatever the target says while nobody listens is lost.
        std::array<std::uint8_t, 256> scratch{};
        while (model_->Transmit(scratch, 0, now) != 0) {
        }
        if (resetPending_ && now - absentSince_ >= kResetAfterUs && ResetBoard()) {
          if (const auto end = JobOver()) return *end;
        }
      }
      if (model_->TakeJobEnded()) {
        Dump("job end");
        if (const auto end = JobOver()) return *end;
      }
      if (model_->HungUp()) {
        SendDue(std::numeric_limits<std::uint64_t>::max());
        // Closing the master discards what the host has not read yet; give it time to.
        platform::SleepMs(kHangUpGraceMs);
        pty_.Close();
        Log(1, "line dropped");
        return 0;
      }
      if (!present_) platform::SleepMs(kTickMs);
    }
    Log(1, "stopped");
    return 0;
  }

  // How long to wait for the host: until the next answer byte is due, a byte from the host has
  // arrived or the noise is due, at most a tick. Bytes cross in runs of about a millisecond, as
  // a UART's buffer hands them over, but the last of a run is on time: a real target answers a
  // block as soon as its last byte is in, and its answer is complete once it has crossed.
  std::uint64_t WaitUs(std::uint64_t now) const {
    std::uint64_t until = now + kTickMs * 1000;
    const auto due = [&](std::optional<std::uint64_t> next, std::optional<std::uint64_t> last) {
      if (next) until = std::min(until, std::min(std::max(*next, now + kRunUs), *last));
    };
    due(model_->NextOutputUs(), model_->LastOutputUs());
    due(model_->NextInputUs(), model_->LastInputUs());
    if (!noiseDone_) until = std::min(until, presentSince_ + kNoiseDelayUs);
    return until > now ? until - now : 0;
  }

  // Reads what the host sent; false when the host has in fact gone.
  bool TakeInput(std::uint64_t now) {
    std::array<std::uint8_t, 4096> buffer{};
    const std::size_t n = pty_.Read(buffer);
    if (n == 0) return false;
    const std::uint32_t baud = pty_.HostBaud();
    const auto bytes = std::span(buffer).first(n);
    if (options_.verbosity >= 2) Log(2, "host " + std::to_string(baud) + "> " + Hex(bytes));
    model_->Receive(bytes, baud, now);
    return true;
  }

  void SendDue(std::uint64_t now) {
    std::array<std::uint8_t, 4096> buffer{};
    const std::uint32_t baud = pty_.HostBaud();
    const std::size_t n = model_->Transmit(buffer, baud, now);
    if (n == 0) return;
    const auto bytes = std::span(buffer).first(n);
    if (options_.verbosity >= 2) Log(2, "target> " + Hex(bytes));
    if (pty_.Write(bytes, kWriteTimeoutMs) != n) Log(1, "the host did not take every byte");
  }

  void HostChanged(bool host, std::uint64_t now) {
    present_ = host;
    if (host) {
      presentSince_ = now;
      noiseDone_ = false;
      resetPending_ = false;
      Log(1, "host opened the line at " + std::to_string(pty_.HostBaud()));
      return;
    }
    absentSince_ = now;
    resetPending_ = true;
    Log(1, "host closed the line");
    if (!std::equal(lastDump_.begin(), lastDump_.end(), model_->flash().bytes().begin())) {
      Dump("host gone");
    }
  }

  // The board goes back to boot mode; true when it was in a job, which has ended.
  bool ResetBoard() {
    resetPending_ = false;
    const bool inJob = model_->mode() == TargetModel::Mode::Loader;
    model_->Reset();
    Log(1, "board reset to boot mode");
    return inJob;
  }

  bool CountJob() {
    ++jobs_;
    Log(1, "job " + std::to_string(jobs_) + " ended");
    return options_.jobs != 0 && jobs_ >= options_.jobs;
  }

  void Dump(const char* why) {
    if (options_.dumpPath.empty()) return;
    std::string error;
    const std::string path =
        options_.replugMs ? BoardDumpPath(options_.dumpPath, board_) : options_.dumpPath;
    if (!WriteFlashDump(model_->flash(), path, &error)) {
      std::fprintf(err_, "vantrel-target: %s\n", error.c_str());
      return;
    }
    lastDump_.assign(model_->flash().bytes().begin(), model_->flash().bytes().end());
    Log(1, std::string("flash dumped (") + why + ")");
  }

  void Log(int level, std::string_view text) {
    if (options_.verbosity < level) return;
    std::fprintf(err_, "vantrel-target: %.*s\n", static_cast<int>(text.size()), text.data());
  }

  const ProgramOptions& options_;
  std::FILE* out_;
  std::FILE* err_;
  platform::PtyMaster pty_;
  std::optional<TargetModel> model_;
  std::vector<std::uint8_t> lastDump_;
  bool present_ = false;
  bool noiseDone_ = false;
  bool resetPending_ = false;
  std::uint64_t presentSince_ = 0;
  std::uint64_t absentSince_ = 0;
  std::uint32_t jobs_ = 0;
  std::uint32_t board_ = 1;
};

}  // namespace

int RunPtyTarget(const ProgramOptions& options, std::FILE* out, std::FILE* err) {
  PtyTarget target(options, out, err);
  return target.Run();
}

}  // namespace vantrel::simulator
