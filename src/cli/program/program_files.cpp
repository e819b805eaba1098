#include "cli/program/program_files.h"

#include <array>
#include <cstdio>

#include "core/format.h"
#include "objfile/address_space.h"
#include "objfile/intel_hex.h"
#include "objfile/record_file.h"
#include "objfile/srecord.h"
#include "platform/file_access.h"
#include "platform/text.h"

namespace vantrel::cli {
namespace {

using platform::EqualsIgnoringCase;

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         EqualsIgnoringCase(text.substr(text.size() - end.size()), end);
}

FileProblem CannotOpen(const std::string& path) {
  return {"vantrel-cli: cannot open the program file " + path, UnopenedFileHint(path)};
}

FileProblem CannotRead(const std::string& path) {
  return {"vantrel-cli: cannot read the program file " + path, {}};
}

FileProblem PastTop(const std::string& where) {
  return {"vantrel-cli: " + where + ": " + std::string(kPastTopWords), {}};
}

// Read as the job's loader reads an S-record file, record faults and all.
std::optional<FileProblem> ReadSRecords(const ProgramFile& in, std::uint8_t n,
                                        SuppliedBytes& bytes) {
  RecordFile file;
  if (!file.Open(in.path)) return CannotOpen(in.path);
  std::string line;
  for (;;) {
    const auto read = file.ReadLine(line);
    if (read == RecordFile::Read::Error) return CannotRead(in.path);
    if (read == RecordFile::Read::EndOfFile) return std::nullopt;
    const SRecord r = ParseSRecord(line);
    if (r.kind == RecordKind::End && !r.failedBeforeData()) return std::nullopt;
    if (r.kind == RecordKind::Data && !r.failedBeforeData()) {
      if (BytesBelowTop(r.address, r.dataLength) < r.dataLength) {
        return PastTop(in.path + " line " + std::to_string(file.lineNumber()));
      }
      for (std::size_t i = 0; i < r.dataLength; ++i) {
        bytes.Put(r.address + static_cast<std::uint32_t>(i), r.data[i], n);
      }
    }
    if (!r.ok()) {
      return FileProblem{"vantrel-cli: " + in.path + " holds a record the loader refuses (No." +
                             std::string(r.error) + ")",
                         RecordFaultHint(in.path, {r.error, file.lineNumber(), line})};
    }
  }
}

// A line without its line end; longer lines are cut after kHexLineLimit + 1 characters, which is
// enough to refuse them. False at the end of the file.
bool ReadTextLine(std::FILE* file, std::string& line) {
  line.clear();
  int c = 0;
  while ((c = std::getc(file)) != EOF && c != '\n') {
    if (line.size() <= kHexLineLimit) line.push_back(static_cast<char>(c));
  }
  while (!line.empty() && platform::IsBlank(line.back())) line.pop_back();
  return c != EOF || !line.empty();
}

std::optional<FileProblem> ReadIntelHex(const ProgramFile& in, std::uint8_t n,
                                        SuppliedBytes& bytes) {
  std::FILE* file = platform::OpenFileForReading(in.path);
  if (file == nullptr) return CannotOpen(in.path);
  HexFileReader reader;
  std::string line;
  std::size_t lineNumber = 0;
  std::optional<FileProblem> problem;
  while (!problem && ReadTextLine(file, line)) {
    ++lineNumber;
    const HexRecord& r = reader.Take(line);
    if (r.fault != HexFault::None) {
      problem = FileProblem{"vantrel-cli: " + in.path + " line " + std::to_string(lineNumber) +
                                ": " + HexFaultText(r),
                            {}};
    }
    for (std::size_t i = 0; reader.HasData() && i < r.count; ++i) {
      bytes.Put(static_cast<std::uint32_t>(reader.Address(i)), r.data[i], n);
    }
  }
  if (!problem && std::ferror(file)) problem = CannotRead(in.path);
  std::fclose(file);
  if (!problem && reader.Finish() != HexFault::None) {
    HexRecord end;
    end.fault = reader.Finish();
    problem = FileProblem{"vantrel-cli: " + in.path + ": " + HexFaultText(end), {}};
  }
  return problem;
}

std::optional<FileProblem> ReadBinary(const ProgramFile& in, std::uint8_t n, SuppliedBytes& bytes) {
  std::FILE* file = platform::OpenFileForReading(in.path);
  if (file == nullptr) return CannotOpen(in.path);
  std::array<std::uint8_t, 4096> buffer;
  std::uint64_t address = in.address;
  std::size_t got = 0;
  bool pastTop = false;
  while (!pastTop && (got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
    pastTop = BytesBelowTop(address, got) < got;
    for (std::size_t i = 0; !pastTop && i < got; ++i) {
      bytes.Put(static_cast<std::uint32_t>(address++), buffer[i], n);
    }
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (pastTop) return PastTop(in.given);
  return failed ? std::optional<FileProblem>(CannotRead(in.path)) : std::nullopt;
}

}  // namespace

ProgramFile ClassifyProgramFile(std::string_view argument) {
  ProgramFile f{std::string(argument), std::string(argument)};
  if (const auto at = argument.rfind('@'); at != std::string_view::npos) {
    const std::string_view name = argument.substr(0, at);
    const auto address = platform::ParseUnsigned(argument.substr(at + 1), 0xFFFFFFFF);
    if (address && EndsWithIgnoringCase(name, ".bin")) {
      f.path = name;
      f.kind = ProgramKind::Binary;
      f.address = static_cast<std::uint32_t>(*address);
      return f;
    }
  }
  if (EndsWithIgnoringCase(argument, ".hex") || EndsWithIgnoringCase(argument, ".ihx")) {
    f.kind = ProgramKind::IntelHex;
  }
  return f;
}

std::optional<FileProblem> ReadProgramFiles(std::span<const ProgramFile> files,
                                            SuppliedBytes& bytes) {
  for (std::size_t i = 0; i < files.size(); ++i) {
    const auto n = static_cast<std::uint8_t>(i + 1);
    std::optional<FileProblem> problem;
    switch (files[i].kind) {
      case ProgramKind::SRecords:
        problem = ReadSRecords(files[i], n, bytes);
        break;
      case ProgramKind::IntelHex:
        problem = ReadIntelHex(files[i], n, bytes);
        break;
      case ProgramKind::Binary:
        problem = ReadBinary(files[i], n, bytes);
        break;
    }
    if (problem) return problem;
  }
  if (const auto& overlap = bytes.overlap()) {
    return FileProblem{
        "vantrel-cli: " + files[overlap->first - 1].given + " and " +
            files[overlap->second - 1].given + " both supply the byte at " +
            Format("0x%08X", static_cast<unsigned>(overlap->address)),
        "hint: each byte may come from one file only; is one of them built for another place?"};
  }
  return std::nullopt;
}

}  // namespace vantrel::cli
