#include <windows.h>

#include "platform/text_encoding.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

unsigned LegacyCodePage() {
  return ::GetACP();
}

unsigned NativeCodePage() {
  return ::GetACP();
}

std::string EncodeCodePage(std::string_view utf8, unsigned codePage) {
  if (codePage == kUtf8CodePage || utf8.empty()) return std::string(utf8);
  const std::wstring wide = Widen(utf8);
  const int size = static_cast<int>(wide.size());
  // No best fit: a character the code page lacks becomes the default "?", not a look-alike.
  const DWORD flags = WC_NO_BEST_FIT_CHARS;
  const int n =
      ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

std::string_view CutFileName(std::string_view utf8, std::size_t limit) {
  std::size_t bytes = 0;
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t length = Utf8CharLength(utf8, at);
    bytes += EncodeCodePage(utf8.substr(at, length), ::GetACP()).size();
    if (bytes > limit) return utf8.substr(0, at);
    at += length;
  }
  return utf8;
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
