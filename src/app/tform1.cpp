#include "app/tform1.h"

#include "app/window_layout.h"
#include "config/cpu_type_list.h"
#include "config/cpu_type_settings.h"
#include "inquiry/cpu_info_report.h"
#include "serial/port_names.h"

namespace vantrel {
namespace {

constexpr const char* kRomBaseTooHigh = "RomBaseAddr は FFF00000 以下のみ";
static_assert(kHighestRomBase == 0xFFF00000);

}  // namespace

TForm1::TForm1(WindowHost& host, platform::Clock& clock,
               std::unique_ptr<platform::SerialDevice> device)
    : host_(host),
      display_(host, controls, fields),
      windowJob_(host, controls, fields),
      job_(windowJob_, windowJob_, clock, std::move(device)) {
  LoadDesign(controls);
}

void TForm1::Timer2Timer() {
  job_.Tick();
}

void TForm1::ButtonProgramClick() {
  job_.StartOrAbort();
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
  controls.ComboBoxComPort.items = ListPorts(job_.port());
}

void TForm1::FillCpuTypeList() {
  controls.ComboBoxCpuType.items = ListCpuTypes(fields.ExeFolder, fields.DataFolder);
}

}  // namespace vantrel
