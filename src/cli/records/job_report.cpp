#include "cli/records/job_report.h"

#include <cstdio>

#include "core/format.h"

#include "platform/file_access.h"
#include "platform/replace_file.h"
#include "platform/text_encoding.h"

namespace vantrel::cli {

std::string ToolVersion() {
  return std::string("vantrel-cli ") + VANTREL_VERSION;
}

std::string WithoutFramingBlanks(std::string_view text) {
  constexpr std::string_view kWideSpace = "\u3000";
  for (;;) {
    if (text.starts_with(' ')) {
      text.remove_prefix(1);
    } else if (text.starts_with(kWideSpace)) {
      text.remove_prefix(kWideSpace.size());
    } else if (text.ends_with(' ')) {
      text.remove_suffix(1);
    } else if (text.ends_with(kWideSpace)) {
      text.remove_suffix(kWideSpace.size());
    } else {
      return std::string(text);
    }
  }
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  while (!text.empty()) {
    const std::size_t n = platform::Utf8SequenceLength(text);
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

std::string FormatBoardObject(const BoardRecord& r, JsonLayout layout,
                              std::span<const JsonField> extra) {
  const bool indented = layout == JsonLayout::Indented;
  std::string out = indented ? "  {" : "{";
  bool first = true;
  auto field = [&](std::string_view name, const std::string& value) {
    if (!first) out += ",";
    if (indented) out += "\n    ";
    if (!indented && !first) out += " ";
    out += JsonString(name) + ": " + value;
    first = false;
  };
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.3f", r.seconds);
  field("port", JsonString(r.port));
  field("cpuType", JsonString(r.cpuType));
  field("controlFile", "{\"path\": " + JsonString(r.controlFile.path) + ", \"sha256\": " +
                           (r.controlFile.sha256.empty() ? std::string("null")
                                                         : JsonString(r.controlFile.sha256)) +
                           "}");
  field("baudBoot", JsonString(r.baudBoot));
  field("baudProg", JsonString(r.baudProg));
  field("blockSize", std::to_string(r.blockSize));
  field("romBaseAddr", Format("\"0x%08X\"", static_cast<unsigned>(r.romBaseAddr)));
  field("userProgram", JsonString(r.userProgram));
  std::string inputs = "[";
  for (std::size_t n = 0; n < r.inputs.size(); ++n) {
    inputs += n == 0 ? "" : ", ";
    inputs += "{\"path\": " + JsonString(r.inputs[n].path) +
              ", \"sha256\": " + JsonString(r.inputs[n].sha256) + ", \"mixedChecksums\": ";
    const auto& mixed = r.inputs[n].mixedChecksumsLine;
    inputs += mixed ? "{\"line\": " + std::to_string(*mixed) + "}}" : std::string("null}");
  }
  field("inputs", inputs + "]");
  if (r.serialNumber) field("serialNumber", std::to_string(*r.serialNumber));
  field("sha256", r.sha256 ? JsonString(*r.sha256) : std::string("null"));
  field("result", JsonString(r.result));
  field("exitCode", std::to_string(r.exitCode));
  field("message", JsonString(r.message));
  field("firstDifference", r.firstDifference
                               ? Format("\"0x%08X\"", static_cast<unsigned>(*r.firstDifference))
                               : std::string("null"));
  field("verifyFailure", r.verifyFailure.empty() ? "null" : JsonString(r.verifyFailure));
  field("startTime", JsonString(r.startTime));
  field("durationSeconds", seconds);
  field("bytesSent", std::to_string(r.bytesSent));
  field("bytesReceived", std::to_string(r.bytesReceived));
  field("toolVersion", JsonString(r.toolVersion));
  for (const JsonField& f : extra) field(f.name, f.value);
  out += indented ? "\n  }" : "}";
  return out;
}

std::string FormatJobReport(std::span<const BoardRecord> records) {
  std::string out = "[";
  for (std::size_t i = 0; i < records.size(); ++i) {
    out += i == 0 ? "\n" : ",\n";
    out += FormatBoardObject(records[i], JsonLayout::Indented);
  }
  out += records.empty() ? "]\n" : "\n]\n";
  return out;
}

bool WriteJobReport(const std::string& path, std::span<const BoardRecord> records,
                    std::string& error) {
  const std::string text = FormatJobReport(records);
  if (path == "-" || platform::IsStream(path)) {
    std::FILE* out = path == "-" ? stdout : platform::OpenStreamForWriting(path);
    bool written = out != nullptr && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (out != nullptr)
      written = (out == stdout ? std::fflush(out) : std::fclose(out)) == 0 && written;
    if (written) return true;
  } else if (platform::ReplaceFile(path, text)) {
    return true;
  }
  error = "cannot write the report " + path;
  return false;
}

}  // namespace vantrel::cli
