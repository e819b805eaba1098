#include <windows.h>

#include "platform/text_encoding.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

unsigned LegacyCodePage() {
  return ::GetACP();
}

std::optional<std::string> DecodeCodePage(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return std::string();
  const int size = static_cast<int>(bytes.size());
  const int n =
      ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), n);
  return Narrow(wide);
}

}  // namespace vantrel::platform
