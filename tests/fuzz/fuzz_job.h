#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/tform1.h"
#include "fuzz/replaced_answer_loader.h"
#include "support/fake_clock.h"
#include "support/recording_host.h"
#include "support/sample_control_folder.h"
#include "support/srec_writer.h"
#include "support/temp_folder.h"
#include "simulator/classic_boot_loader.h"
#include "simulator/in_process_device.h"
#include "simulator/inquiry_boot_loader.h"
#include "simulator/target_model.h"

namespace vantrel::fuzzing {

enum class Protocol { Classic, Inquiry };

// A folder beside the "executable" with both write-control files and a two-block program.
inline const testing::TempFolder& JobHome() {
  static const testing::TempFolder folder;
  static const bool written = [] {
    testing::WriteSampleControlFolder(folder, 24);
    testing::SrecWriter program;
    program.Fill(0x40, 200, 3, 32);
    folder.Write("program.mot", program.Text());
    return true;
  }();
  (void)written;
  return folder;
}

// The fuzzer's input for one job: the first byte picks the answer to replace (counted from the
// first one after the handshake), the rest is what goes out in its place. A first byte of 0xFF
// sends the rest as line noise when the port opens instead.
// With `record`, every answer the loader sent is added to it.
inline void RunJobWithFuzzedAnswer(Protocol protocol, const std::uint8_t* data, std::size_t size,
                                   std::vector<std::vector<std::uint8_t>>* record = nullptr) {
  if (size == 0) return;
  const std::span<const std::uint8_t> answer(data + 1, size - 1);
  const bool noise = data[0] == 0xFF;

  simulator::TargetOptions options;
  options.flashSize = 0x10000;
  options.classic.eraseMs = 1000;
  options.classic.programmingBaud = 38400;
  if (noise) options.noise.assign(answer.begin(), answer.end());
  const std::size_t replaced = noise ? SIZE_MAX : data[0];
  options.makeLoader = [protocol, replaced, answer, record,
                        classic = options.classic](simulator::Flash& flash) {
    std::unique_ptr<simulator::BootLoader> inner;
    if (protocol == Protocol::Classic) {
      inner = std::make_unique<simulator::ClassicBootLoader>(flash, classic);
    } else {
      simulator::InquiryConfig config;
      config.eraseMs = 1000;
      inner = simulator::MakeInquiryBootLoader(config, flash);
    }
    auto loader = std::make_unique<ReplacedAnswerLoader>(std::move(inner), replaced, answer);
    loader->RecordInto(record);
    return loader;
  };

  testing::FakeClock clock{5000};
  testing::RecordingHost host;
  simulator::TargetModel model(options);
  TForm1 form(host, clock, std::make_unique<simulator::InProcessDevice>(model, clock));
  const auto& home = JobHome();
  form.fields.ExeFolder = home.path();
  form.fields.UserProgramPath = home.PathOf("program.mot");
  form.controls.Edit1.text = form.fields.UserProgramPath;
  form.controls.ComboBoxComPort.text = "sim";
  form.controls.ComboBoxCpuType.text = protocol == Protocol::Classic ? "CLS.mot" : "INQ.inf";
  form.controls.CheckBox1.checked = true;  // verify: the read-back answers count too
  form.ApplyCpuType();

  form.ButtonProgramClick();
  // Every wait of a job ends within its time-out (the longest, the erase, 30 s).
  for (int tick = 0; tick < 20000 && form.SequenceStep() != ProgrammingSequence::Idle; ++tick) {
    clock.Advance(10);
    form.Timer2Timer();
  }
  if (form.SequenceStep() != ProgrammingSequence::Idle) __builtin_trap();  // a job that never ends is a fault
}

}  // namespace vantrel::fuzzing
