#include "platform/single_instance_win32.h"

#include <windows.h>

#include <string>

#include "platform/text_encoding.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

MutexClaim ClaimNamedMutex(std::string_view name) {
  const std::string mutex(name);
  // Open, then create and check: of two copies started at the same instant only one is first.
  if (HANDLE other = ::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, mutex.c_str())) {
    ::CloseHandle(other);
    return MutexClaim::AnotherRuns;
  }
  HANDLE own = ::CreateMutexA(nullptr, TRUE, mutex.c_str());
  if (own == nullptr) return MutexClaim::AnotherRuns;
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(own);
    return MutexClaim::AnotherRuns;
  }
  return MutexClaim::First;
}

bool SendToFirstCopy(std::string_view caption, std::string_view utf8, std::uint32_t waitMs) {
  const std::wstring title = Widen(caption);
  HWND window = nullptr;
  // The first copy may still be starting.
  for (DWORD waited = 0;
       (window = ::FindWindowW(nullptr, title.c_str())) == nullptr && waited < waitMs;
       waited += 50) {
    ::Sleep(50);
  }
  if (window == nullptr) return false;
  // The text as the running window and older senders have it: in the ANSI code page.
  std::string bytes = EncodeCodePage(utf8, ::GetACP());
  COPYDATASTRUCT data{};
  data.dwData = 1;
  data.cbData = static_cast<DWORD>(bytes.size());
  data.lpData = bytes.data();
  // Returns once the first copy has handled it, a message box it showed included.
  ::SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  return true;
}

}  // namespace vantrel::platform
