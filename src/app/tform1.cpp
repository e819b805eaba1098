#include "app/tform1.h"

#include "app/window_layout.h"
#include "config/cpu_type_list.h"
#include "config/cpu_type_settings.h"
#include "inquiry/cpu_info_report.h"
#include "serial/fill_port_list.h"

namespace vantrel {
namespace {

constexpr const char* kRomBaseTooHigh = "RomBaseAddr は FFF00000 以下のみ";
static_assert(kHighestRomBase == 0xFFF00000);

}  // namespace

TForm1::TForm1(WindowHost& host, platform::Clock& clock,
               std::unique_ptr<platform::SerialDevice> device)
    : host_(host),
      timeout_(clock),
      display_(host, controls, fields),
      port_(std::move(device)),
      ctx_{port_, timeout_, display_},
      image_(std::make_unique<ProgramImage>()),
      loadControlProgram_(display_, controls.ComboBoxCpuType.text, fields.ExeFolder,
                          fields.DataFolder, image_->control, inquiryMode_, bootDefinition_),
      adjustBitRate_(ctx_, inquiryMode_),
      transferControlProgram_(ctx_, image_->control),
      loadUserProgram_(ctx_, fields, *image_),
      writeBlocks_(ctx_, inquiryMode_, fields, *image_, progress_),
      verifyBlocks_(ctx_, fields, *image_, progress_),
      verifyBlocksByRead_(ctx_, fields, *image_, progress_, bootDefinition_),
      inquirySequence_(ctx_, bootDefinition_, cpuInformation_, responseBuffer_),
      sequence_(
          ctx_, controls, fields, inquiryMode_, progress_,
          SequenceOperations{[this] {
                               cpuInfoReportLost_ = false;
                               return loadControlProgram_.Run();
                             },
                             adjustBitRate_, transferControlProgram_, loadUserProgram_,
                             writeBlocks_, verifyBlocks_, verifyBlocksByRead_, inquirySequence_,
                             [this](bool failed) {
                               cpuInfoReportLost_ =
                                   !WriteCpuInfoReport(failed, bootDefinition_, cpuInformation_,
                                                       fields.ExeFolder, host_, cpuInfoFileName);
                             },
                             image_->control}) {
  timeout_.EndWaitsWhen([this] { return port_.LineLost(); });
  LoadDesign(controls);
  image_->memory.bytes.fill(0xFF);
  image_->blocks.flags.fill(0);
}

void TForm1::Timer2Timer() {
  // A message box shown inside a tick keeps the timer running; those ticks must not re-enter.
  if (tickGuard_) return;
  struct Release {
    bool& guard;
    ~Release() { guard = false; }
  } release{tickGuard_ = true};
  sequence_.SequenceTick();
}

void TForm1::ButtonProgramClick() {
  sequence_.ButtonProgramClick();
}

void TForm1::ApplyCpuType() {
  const std::string& name = controls.ComboBoxCpuType.text;
  if (name.empty()) return;
  const CpuTypeSettings s =
      ReadCpuTypeSettings(fields.ExeFolder, name, fields.DataFolder).value_or(CpuTypeSettings{});
  if (s.BaudB != "Undefined") controls.ComboBoxBr1.text = s.BaudB;
  if (s.BaudP != "Undefined") controls.ComboBoxBr2.text = s.BaudP;
  if (s.BlockSize == 128 || s.BlockSize == 256) {
    fields.BlockSize = static_cast<std::uint16_t>(s.BlockSize);
  } else {
    display_.Message("BlockSize は 128 or 256 のみ");
  }
  // A higher base would wrap the image's addresses past 0xFFFFFFFF; it is refused like the
  // block size, and the base in force stays.
  if (s.RomBaseAddr <= kHighestRomBase) {
    fields.RomBaseAddr = s.RomBaseAddr;
  } else {
    display_.Message(kRomBaseTooHigh);
  }
  display_.ShowBlockPanels();
}

void TForm1::FillPortList() {
  vantrel::FillPortList(controls.ComboBoxComPort, port_);
}

void TForm1::FillCpuTypeList() {
  controls.ComboBoxCpuType.items = ListCpuTypes(fields.ExeFolder, fields.DataFolder);
}

}  // namespace vantrel
