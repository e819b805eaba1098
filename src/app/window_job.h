#pragma once

#include "app/window_controls.h"
#include "app/window_fields.h"
#include "app/window_host.h"
#include "core/job_events.h"
#include "core/job_inputs.h"

namespace vantrel {

// A job's inputs and events on the window: every input is read from the controls as they are at
// that moment, every event lands on the controls, the status line or the desktop.
class WindowJob final : public JobInputs, public JobEvents {
 public:
  WindowJob(WindowHost& host, WindowControls& controls, WindowFields& fields)
      : host_(host), controls_(controls), fields_(fields) {}

  std::string PortName() override { return controls_.ComboBoxComPort.text; }
  std::string BaudBoot() override { return controls_.ComboBoxBr1.text; }
  std::string BaudProg() override { return controls_.ComboBoxBr2.text; }
  bool Verify() override { return controls_.CheckBox1.checked; }
  std::string CpuType() override { return controls_.ComboBoxCpuType.text; }
  bool HasUserProgram() override { return !controls_.Edit1.text.empty(); }
  std::string UserProgramPath() override { return fields_.UserProgramPath; }
  std::uint16_t BlockSize() override { return fields_.BlockSize; }
  std::uint32_t RomBase() override { return fields_.RomBaseAddr; }
  std::string ExeFolder() override { return fields_.ExeFolder; }
  std::string DataFolder() override { return fields_.DataFolder; }
  bool CpuReportWanted() override { return host_.ShiftHeld(); }

  void Status(const JobStatus& status) override;
  void Progress(std::int32_t permille) override { controls_.TrackBar1.position = permille; }
  void Running(bool running) override;
  void RateSwitched(std::string_view baud) override { controls_.ComboBoxBr2.text = baud; }
  void BlockLayout(std::uint16_t blockSize, std::uint32_t romBase) override;
  void Beep() override { host_.Beep(); }
  void Failed(const JobFailureEvent& failure) override { host_.ShowFailureBox(failure); }
  void Notice(JobNotice notice, std::string_view text) override;
  void Result(JobResultCode result) override { fields_.JobResult = result; }
  void Ended(JobResultCode result) override;

 private:
  WindowHost& host_;
  WindowControls& controls_;
  WindowFields& fields_;
};

}  // namespace vantrel
