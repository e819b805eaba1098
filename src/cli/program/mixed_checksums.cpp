#include "cli/program/mixed_checksums.h"

#include "objfile/record_file.h"
#include "objfile/srecord.h"

namespace vantrel::cli {

std::optional<MixedChecksums> FindMixedChecksums(const std::string& path) {
  RecordFile file;
  if (!file.Open(path)) return std::nullopt;
  std::optional<bool> firstKind;
  std::string line;
  while (file.ReadLine(line) == RecordFile::Read::Line) {
    const SRecord r = ParseSRecord(line);
    if (!r.ok() || r.kind == RecordKind::End) break;
    if (r.kind != RecordKind::Data) continue;
    if (!firstKind) firstKind = r.twosComplement;
    if (r.twosComplement != *firstKind) return MixedChecksums{file.lineNumber(), r.twosComplement};
  }
  return std::nullopt;
}

std::string MixedChecksumsHint(const std::string& shownPath, const MixedChecksums& mixed) {
  const char* kind = mixed.twosComplement ? "0x00 (two's complement)" : "0xFF (one's complement)";
  const char* before = mixed.twosComplement ? "0xFF" : "0x00";
  return "hint: " + shownPath + " mixes two kinds of checksum: line " + std::to_string(mixed.line) +
         " is the first record that sums to " + kind + " where those before sum to " + before +
         "; a byte off by one does that too: if the file was not joined from two tools' "
         "outputs, make it again";
}

}  // namespace vantrel::cli
