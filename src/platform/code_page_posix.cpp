#include <iconv.h>

#include <cerrno>
#include <string>

#include "platform/text_encoding.h"

namespace vantrel::platform {

unsigned LegacyCodePage() {
  return 932;
}

unsigned NativeCodePage() {
  return kUtf8CodePage;
}

std::string_view CutFileName(std::string_view utf8, std::size_t limit) {
  std::size_t characters = 0;
  for (std::size_t at = 0; at < utf8.size(); at += Utf8CharLength(utf8, at)) {
    if (characters++ == limit) return utf8.substr(0, at);
  }
  return utf8;
}

std::string EncodeCodePage(std::string_view utf8, unsigned codePage) {
  if (codePage == kUtf8CodePage) return std::string(utf8);
  const iconv_t cd = ::iconv_open(("CP" + std::to_string(codePage)).c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
  std::string out;
  char buffer[16];
  // A character at a time, so that one the code page lacks is replaced alone.
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t length = Utf8CharLength(utf8, at);
    std::string in(utf8.substr(at, length));
    char* src = in.data();
    std::size_t srcLeft = in.size();
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const bool ok = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1);
    out += ok ? std::string(buffer, sizeof buffer - dstLeft) : "?";
    at += length;
  }
  ::iconv_close(cd);
  return out;
}

std::optional<std::string> DecodeCodePage(std::string_view bytes, unsigned codePage) {
  const std::string name = "CP" + std::to_string(codePage);
  const iconv_t cd = ::iconv_open("UTF-8", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in(bytes);
  std::string out(in.size() * 4 + 4, '\0');
  char* src = in.data();
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  const std::size_t r = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  ::iconv_close(cd);
  if (r == static_cast<std::size_t>(-1) || srcLeft != 0) return std::nullopt;
  out.resize(out.size() - dstLeft);
  return out;
}

}  // namespace vantrel::platform
