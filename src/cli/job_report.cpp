#include "cli/job_report.h"

#include <cstdio>

#include "platform/replace_file.h"

namespace vantrel::cli {
namespace {

// The length of the well-formed UTF-8 sequence at the start of text, 0 when there is none.
std::size_t Utf8Length(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t n = 0;
  std::uint32_t min = 0;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) {
    n = 2;
    min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    n = 3;
    min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    n = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < n) return 0;
  std::uint32_t code = lead & (0x7F >> n);
  for (std::size_t i = 1; i < n; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) != 0x80) return 0;
    code = code << 6 | (c & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code < min || code > 0x10FFFF || surrogate ? 0 : n;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  while (!text.empty()) {
    const std::size_t n = Utf8Length(text);
    if (n == 0) {
      out += "\\ufffd";
      text.remove_prefix(1);
      continue;
    }
    const char c = text[0];
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (n == 1 && static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out.append(text.substr(0, n));
    }
    text.remove_prefix(n);
  }
  return out + "\"";
}

std::string FormatJobReport(std::span<const BoardRecord> records) {
  std::string out = "[";
  for (std::size_t i = 0; i < records.size(); ++i) {
    const BoardRecord& r = records[i];
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", r.seconds);
    out += i == 0 ? "\n" : ",\n";
    out += "  {\n";
    out += "    \"port\": " + JsonString(r.port) + ",\n";
    out += "    \"cpuType\": " + JsonString(r.cpuType) + ",\n";
    out += "    \"userProgram\": " + JsonString(r.userProgram) + ",\n";
    out += "    \"sha256\": " + (r.sha256 ? JsonString(*r.sha256) : std::string("null")) + ",\n";
    out += "    \"result\": " + JsonString(r.result) + ",\n";
    out += "    \"exitCode\": " + std::to_string(r.exitCode) + ",\n";
    out += "    \"message\": " + JsonString(r.message) + ",\n";
    out += "    \"startTime\": " + JsonString(r.startTime) + ",\n";
    out += "    \"durationSeconds\": " + std::string(seconds) + ",\n";
    out += "    \"bytesSent\": " + std::to_string(r.bytesSent) + ",\n";
    out += "    \"bytesReceived\": " + std::to_string(r.bytesReceived) + "\n";
    out += "  }";
  }
  out += records.empty() ? "]\n" : "\n]\n";
  return out;
}

bool WriteJobReport(const std::string& path, std::span<const BoardRecord> records,
                    std::string& error) {
  if (platform::ReplaceFile(path, FormatJobReport(records))) return true;
  error = "cannot write the report " + path;
  return false;
}

}  // namespace vantrel::cli
