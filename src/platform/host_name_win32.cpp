#include <windows.h>

#include <array>

#include "platform/host_name.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

std::string HostName() {
  std::array<wchar_t, 256> name{};
  DWORD size = static_cast<DWORD>(name.size());
  if (!::GetComputerNameExW(ComputerNameDnsHostname, name.data(), &size)) return {};
  return Narrow(std::wstring_view(name.data(), size));
}

}  // namespace vantrel::platform
