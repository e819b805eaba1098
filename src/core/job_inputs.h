#pragma once

#include <cstdint>
#include <string>

namespace vantrel {

// What a job reads from whoever runs it, at the moment it needs it: a window answers from its
// controls as they are then, so a change made during a job counts from the next read on.
class JobInputs {
 public:
  virtual ~JobInputs() = default;
  virtual std::string PortName() = 0;
  virtual std::string BaudBoot() = 0;  // the rate of the boot loader's synchronisation
  virtual std::string BaudProg() = 0;  // the rate of block writing
  virtual bool Verify() = 0;
  virtual std::string CpuType() = 0;  // the write-control file's name
  // A user program is chosen; a job without one is refused before anything opens.
  virtual bool HasUserProgram() = 0;
  virtual std::string UserProgramPath() = 0;
  virtual std::uint16_t BlockSize() = 0;
  virtual std::uint32_t RomBase() = 0;
  virtual std::string ExeFolder() = 0;   // holds CTRL_MOT and takes the CPU report
  virtual std::string DataFolder() = 0;  // an installed copy's CTRL_MOT, searched second
  // The CPU report is wanted after a good inquiry too (the window: Shift held).
  virtual bool CpuReportWanted() = 0;
};

// Everything a job reads, as fixed values.
struct JobSettings {
  std::string port;
  std::string baudBoot;
  std::string baudProg;
  bool verify = false;
  std::string cpuType;
  std::string userProgram;
  std::uint16_t blockSize = 128;
  std::uint32_t romBase = 0;
  std::string exeFolder;
  std::string dataFolder;
  bool cpuReport = false;
};

// Inputs that do not change while a job runs. The programming rate an inquiry switches to is
// taken over, as the window shows it in its own field.
class FixedInputs final : public JobInputs {
 public:
  explicit FixedInputs(JobSettings settings) : s(std::move(settings)) {}
  std::string PortName() override { return s.port; }
  std::string BaudBoot() override { return s.baudBoot; }
  std::string BaudProg() override { return s.baudProg; }
  bool Verify() override { return s.verify; }
  std::string CpuType() override { return s.cpuType; }
  bool HasUserProgram() override { return !s.userProgram.empty(); }
  std::string UserProgramPath() override { return s.userProgram; }
  std::uint16_t BlockSize() override { return s.blockSize; }
  std::uint32_t RomBase() override { return s.romBase; }
  std::string ExeFolder() override { return s.exeFolder; }
  std::string DataFolder() override { return s.dataFolder; }
  bool CpuReportWanted() override { return s.cpuReport; }

  JobSettings s;
};

}  // namespace vantrel
