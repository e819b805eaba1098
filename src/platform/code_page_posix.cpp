#include <iconv.h>

#include <cerrno>
#include <string>

#include "platform/text_encoding.h"

namespace vantrel::platform {

unsigned LegacyCodePage() {
  return 932;
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
