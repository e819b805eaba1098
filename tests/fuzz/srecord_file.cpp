// A whole S-record file, read through the record file's line reader: as the user program (at two
// ROM bases and both block sizes) and as the write-control program in CTRL_MOT.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "inquiry/boot_definition.h"
#include "job/load_control_program.h"
#include "job/load_user_program.h"
#include "support/step_fixture.h"
#include "support/temp_folder.h"

namespace {

using namespace vantrel;

void LoadAsUserProgram(testing::StepFixture& f, ProgramImage& image, std::size_t fileSize,
                       std::uint32_t romBase, std::uint16_t blockSize) {
  f.fields.RomBaseAddr = romBase;
  f.fields.BlockSize = blockSize;
  LoadUserProgram loader(f.ctx, image);
  StepResult r = loader.Run(PhaseStart);
  // One line per call, and the end of the file once.
  for (std::size_t calls = 0; r == StepBusy; ++calls) {
    if (calls > fileSize + 1) __builtin_trap();
    r = loader.Run(PhaseContinue);
  }
  if (loader.FileOpen()) __builtin_trap();  // every end closes the file
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const testing::TempFolder home;
  static const auto image = std::make_unique<ProgramImage>();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = home.Write("CTRL_MOT/FUZZ.mot", bytes);

  testing::StepFixture f;
  f.fields.UserProgramPath = path;
  LoadAsUserProgram(f, *image, size, 0, 128);
  LoadAsUserProgram(f, *image, size, 0xFFFF0000u, 256);

  f.controls.ComboBoxCpuType.text = "FUZZ.mot";
  f.fields.ExeFolder = home.path();
  bool inquiryMode = false;
  BootDefinition boot;
  LoadControlProgram control(f.window, f.window, image->control, inquiryMode, boot);
  control.Run();
  return 0;
}
