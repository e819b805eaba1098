#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::cli {

// One file the user gave the job, as it was when the run began.
struct InputDigest {
  std::string path;
  std::string sha256;  // of the file's bytes
  // The first line of an S-record file whose checksum is of the other kind than the first's.
  std::optional<std::size_t> mixedChecksumsLine;
};

// What one board's job did, for the summary and the JSON report.
struct BoardRecord {
  std::string port;
  std::string cpuType;
  // The CPU type's write-control file as the job found it; no sha256 when it could not be read.
  InputDigest controlFile;
  // What the job ran with: Baud.ini's values unless an option or the job file changed them.
  std::string baudBoot;
  std::string baudProg;
  std::uint16_t blockSize = 0;
  std::uint32_t romBaseAddr = 0;
  std::string userProgram;
  std::vector<InputDigest> inputs;
  std::optional<std::uint64_t> serialNumber;  // written into this board's image
  // Of the data written to the flash, block by block in address order; only once all was written.
  std::optional<std::string> sha256;
  std::string result;  // verified, written, verify-failed, failed, aborted
  int exitCode = 1;
  std::string message;  // the last message the job showed, without its framing blanks
  std::optional<std::uint32_t> firstDifference;  // after a verification that found one
  // After a failed verification, what it saw: mismatch, address, header, checksum, timeout,
  // block-size or line-lost; only a mismatch is a wrong byte in the flash.
  std::string verifyFailure;
  std::string startTime;  // UTC, ISO 8601 with milliseconds
  double seconds = 0;
  std::uint64_t bytesSent = 0;
  std::uint64_t bytesReceived = 0;
  std::string toolVersion;  // the program and its version, "vantrel-cli 0.39.1"
};

// A field for the end of a board's object; its value is JSON already.
struct JsonField {
  std::string_view name;
  std::string value;
};

enum class JsonLayout {
  Indented,  // an element of the report's array
  OneLine,   // a line of the log
};

// One board's JSON object, the same fields in the report and in the log.
std::string FormatBoardObject(const BoardRecord& record, JsonLayout layout,
                              std::span<const JsonField> extra = {});

// A JSON array with one object per board.
std::string FormatJobReport(std::span<const BoardRecord> records);

// Replaces the file with the report; false (and why) when it could not be written.
bool WriteJobReport(const std::string& path, std::span<const BoardRecord> records,
                    std::string& error);

// The program and its version, as the records name it.
std::string ToolVersion();

// A box text without the blanks that frame it (spaces, full-width spaces).
std::string WithoutFramingBlanks(std::string_view text);

// A JSON string literal; bytes that are no UTF-8 become U+FFFD.
std::string JsonString(std::string_view text);

}  // namespace vantrel::cli
