#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/tform1.h"
#include "simulator/in_process_device.h"
#include "simulator/inquiry_boot_loader.h"
#include "simulator/target_model.h"
#include "support/fake_clock.h"
#include "support/recording_host.h"
#include "support/sample_control_folder.h"
#include "support/srec_writer.h"
#include "support/temp_folder.h"

namespace vantrel::testing {

// Passes everything to the simulated target's device and keeps what the host wrote.
class RecordingDevice final : public platform::SerialDevice {
 public:
  // Each configuration: the rate, and how many bytes had been written and read before it.
  struct Configured {
    std::uint32_t baud;
    std::size_t writtenBefore;
    std::size_t receivedBefore;
  };

  // What came back, and when each written byte went out.
  struct Line {
    std::vector<std::uint8_t> received;
    std::vector<std::uint32_t> receivedAtMs;
    std::vector<std::uint32_t> sentAtMs;
  };

  RecordingDevice(std::unique_ptr<platform::SerialDevice> inner, std::vector<std::uint8_t>& log,
                  int& opens, std::vector<Configured>& configured, Line& line,
                  platform::Clock& clock)
      : inner_(std::move(inner)),
        log_(log),
        opens_(opens),
        configured_(configured),
        line_(line),
        clock_(clock) {}
  bool Open(std::string_view name) override {
    const bool ok = inner_->Open(name);
    opens_ += ok;
    return ok;
  }
  bool IsOpen() const override { return inner_->IsOpen(); }
  bool Configure(const platform::LineSettings& s) override {
    configured_.push_back({s.baudRate, log_.size(), line_.received.size()});
    return inner_->Configure(s);
  }
  bool SetWriteTimeout(std::uint32_t m, std::uint32_t c) override {
    return inner_->SetWriteTimeout(m, c);
  }
  bool SetDtr(bool on) override { return inner_->SetDtr(on); }
  bool SetRts(bool on) override { return inner_->SetRts(on); }
  std::size_t Write(std::span<const std::uint8_t> bytes) override {
    const std::size_t n = inner_->Write(bytes);
    log_.insert(log_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    line_.sentAtMs.insert(line_.sentAtMs.end(), n, clock_.NowMs());
    return n;
  }
  std::size_t Read(std::span<std::uint8_t> buffer) override {
    const std::size_t n = inner_->Read(buffer);
    line_.received.insert(line_.received.end(), buffer.begin(),
                          buffer.begin() + static_cast<std::ptrdiff_t>(n));
    line_.receivedAtMs.insert(line_.receivedAtMs.end(), n, clock_.NowMs());
    return n;
  }
  bool WaitForInput(std::uint32_t timeoutMs) override { return inner_->WaitForInput(timeoutMs); }
  std::optional<std::size_t> BytesWaiting() const override { return inner_->BytesWaiting(); }
  void Close() override { inner_->Close(); }
  bool Exists(std::string_view name) const override { return inner_->Exists(name); }

 private:
  std::unique_ptr<platform::SerialDevice> inner_;
  std::vector<std::uint8_t>& log_;
  int& opens_;
  std::vector<Configured>& configured_;
  Line& line_;
  platform::Clock& clock_;
};

enum class Protocol { Classic, Inquiry };

// How the simulated line behaves apart from the boot loader's faults.
struct LineOptions {
  bool pacing = false;  // the target's bytes take their time on the line, as on a real one
  bool noSync = false;  // the target never answers the zero bytes
  simulator::LineFaults faults{};
};

// One window on a fake clock, wired to an in-process simulated target, with a CTRL_MOT folder.
struct JobHarness {
  explicit JobHarness(Protocol protocol, simulator::ClassicFaults classicFaults = {},
                      simulator::InquiryFaults inquiryFaults = {}, LineOptions lineOptions = {})
      : model(Options(protocol, classicFaults, inquiryFaults, lineOptions)),
        form(host, clock,
             std::make_unique<RecordingDevice>(
                 std::make_unique<simulator::InProcessDevice>(model, clock), written, opens,
                 configured, line, clock)) {
    WriteSampleControlFolder(home);
    form.fields.ExeFolder = home.path();
    form.controls.ComboBoxComPort.text = "sim";
    form.controls.ComboBoxCpuType.text = protocol == Protocol::Classic ? "CLS.mot" : "INQ.inf";
    form.ApplyCpuType();
  }

  static simulator::TargetOptions Options(Protocol protocol, simulator::ClassicFaults classicFaults,
                                          simulator::InquiryFaults inquiryFaults,
                                          LineOptions line) {
    simulator::TargetOptions o;
    o.pacing = line.pacing;
    o.noSync = line.noSync;
    o.line = line.faults;
    o.classic.eraseMs = 1000;
    o.classic.programmingBaud = 38400;
    o.classic.faults = classicFaults;
    if (protocol == Protocol::Inquiry) {
      simulator::InquiryConfig config;
      config.eraseMs = 1000;
      config.faults = inquiryFaults;
      o.makeLoader = [config](simulator::Flash& flash) {
        return simulator::MakeInquiryBootLoader(config, flash);
      };
    }
    return o;
  }

  void SetProgram(const SrecWriter& program) {
    form.fields.UserProgramPath = home.Write("program.mot", program.Text());
    form.controls.Edit1.text = form.fields.UserProgramPath;
  }

  // One timer tick; the step it ran is added to `steps` when it differs from the last one.
  void Tick() {
    clock.Advance(10);
    const ProgrammingSequence::Step step = form.SequenceStep();
    if (steps.empty() || steps.back() != step) steps.push_back(step);
    form.Timer2Timer();
  }

  // Presses the Program button and ticks until the job is over (or 100 000 ticks have passed).
  void RunJob() {
    form.ButtonProgramClick();
    steps.clear();
    for (int i = 0; i < 100000; ++i) {
      Tick();
      if (form.SequenceStep() == ProgrammingSequence::Idle) return;
    }
  }

  // Ticks until the sequence reaches `step` (at most 100 000 ticks).
  bool TickUntil(ProgrammingSequence::Step step) {
    for (int i = 0; i < 100000 && form.SequenceStep() != step; ++i) Tick();
    return form.SequenceStep() == step;
  }

  TempFolder home;
  FakeClock clock{5000};
  RecordingHost host;
  std::vector<std::uint8_t> written;
  int opens = 0;
  std::vector<RecordingDevice::Configured> configured;
  RecordingDevice::Line line;
  simulator::TargetModel model;
  TForm1 form;
  std::vector<ProgrammingSequence::Step> steps;
};

}  // namespace vantrel::testing
