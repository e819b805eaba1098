#include "simulator/device_description.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/text.h"

namespace vantrel::simulator {
namespace {

constexpr std::string_view kSampleText =
    R"(# Simulated target: a made-up microcontroller family whose boot loader answers inquiries.
# Format: see src/simulator/device_description.h. Numbers are decimal or 0x-prefixed hexadecimal.

# device code and product name
device VT01 VTR-100
device VT02 VTR-200

clock-mode 0x00 0x01

# one line per clock type: its multiplication ratios
ratios 1 2 4 8
ratios 1 2 4

# operating frequency ranges: minimum, maximum
frequency 100 5000
frequency 100 2500

# first and last address of each area
user-boot-mat 0x00000000 0x00001FFF
user-mat 0x00000000 0x0003FFFF

erase-block 0x00000000 0x00000FFF
erase-block 0x00001000 0x00001FFF
erase-block 0x00002000 0x00003FFF
erase-block 0x00004000 0x00007FFF
erase-block 0x00008000 0x0000FFFF
erase-block 0x00010000 0x0001FFFF
erase-block 0x00020000 0x0002FFFF
erase-block 0x00030000 0x0003FFFF

write-size 128
)";

// Answers carry a one-byte size (two for the erase blocks) and one-byte counts.
constexpr std::size_t kMaxOneByteData = 255;
constexpr std::size_t kMaxCount = 255;
constexpr std::size_t kMaxProductName = 255 - 4;  // the character count is one byte
constexpr std::uint32_t kMaxWriteSize = 4096;

// Splits off the first blank-separated word.
std::string_view NextWord(std::string_view& rest) {
  rest = platform::TrimBlanks(rest);
  std::size_t n = 0;
  while (n < rest.size() && !platform::IsBlank(rest[n])) ++n;
  auto word = rest.substr(0, n);
  rest.remove_prefix(n);
  return word;
}

}  // namespace

std::optional<std::uint32_t> ParseTargetNumber(std::string_view s) {
  const auto value = platform::ParseUnsigned(s, 0xFFFFFFFFu);
  if (!value) return std::nullopt;
  return static_cast<std::uint32_t>(*value);
}

namespace {

MemorySpan SpanOf(const std::vector<AddressArea>& areas) {
  if (areas.empty()) return {};
  std::uint32_t low = areas.front().top;
  std::uint32_t high = areas.front().end;
  for (const auto& a : areas) {
    low = std::min(low, a.top);
    high = std::max(high, a.end);
  }
  std::uint64_t size = std::uint64_t{high} - low + 1;
  return {low, static_cast<std::uint32_t>(std::min<std::uint64_t>(size, 0xFFFFFFFFu))};
}

class Parser {
 public:
  Parser(std::string_view source, std::string* error) : source_(source), error_(error) {}

  std::optional<DeviceDescription> Run(std::string_view text) {
    std::size_t lineNo = 0;
    while (!text.empty()) {
      ++lineNo;
      auto eol = text.find('\n');
      auto line = text.substr(0, eol);
      text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
      if (!Line(lineNo, platform::TrimBlanks(line))) return std::nullopt;
    }
    return Finish();
  }

 private:
  bool Fail(std::size_t lineNo, const std::string& what) {
    if (error_) {
      std::ostringstream out;
      out << source_ << ':' << lineNo << ": " << what;
      *error_ = out.str();
    }
    return false;
  }

  std::optional<DeviceDescription> FailFile(const std::string& what) {
    if (error_) *error_ = std::string(source_) + ": " + what;
    return std::nullopt;
  }

  // Reads the remaining words as numbers up to max; exactly `count` of them unless count is 0
  // (then at least `atLeast`).
  bool Numbers(std::size_t lineNo, std::string_view keyword, std::string_view rest,
               std::uint32_t max, std::size_t count, std::size_t atLeast,
               std::vector<std::uint32_t>& out) {
    out.clear();
    for (auto word = NextWord(rest); !word.empty(); word = NextWord(rest)) {
      auto value = ParseTargetNumber(word);
      if (!value) return Fail(lineNo, "'" + std::string(word) + "' is not a number");
      if (*value > max) {
        return Fail(lineNo, "'" + std::string(word) + "' is above " + std::to_string(max));
      }
      out.push_back(*value);
    }
    if (count != 0 && out.size() != count) {
      return Fail(lineNo, std::string(keyword) + " needs " + std::to_string(count) + " numbers");
    }
    if (out.size() < atLeast) {
      return Fail(lineNo,
                  std::string(keyword) + " needs at least " + std::to_string(atLeast) + " number");
    }
    return true;
  }

  bool Area(std::size_t lineNo, std::string_view keyword, std::string_view rest,
            std::vector<AddressArea>& list, std::size_t maxEntries) {
    std::vector<std::uint32_t> v;
    if (!Numbers(lineNo, keyword, rest, 0xFFFFFFFFu, 2, 0, v)) return false;
    if (v[0] > v[1]) return Fail(lineNo, "first address above last address");
    if (list.size() >= maxEntries) {
      return Fail(lineNo, "more than " + std::to_string(maxEntries) + " " + std::string(keyword) +
                              " entries do not fit the answer");
    }
    list.push_back({v[0], v[1]});
    return true;
  }

  bool Line(std::size_t lineNo, std::string_view line) {
    if (line.empty() || line.front() == '#') return true;
    auto rest = line;
    auto keyword = NextWord(rest);
    std::vector<std::uint32_t> v;
    if (keyword == "device") {
      auto code = NextWord(rest);
      auto name = platform::TrimBlanks(rest);
      if (code.size() != 4) return Fail(lineNo, "device code must be 4 characters");
      if (name.empty()) return Fail(lineNo, "device needs a product name");
      if (name.size() > kMaxProductName) {
        return Fail(lineNo, "product name longer than " + std::to_string(kMaxProductName));
      }
      if (d_.devices.size() >= kMaxCount) return Fail(lineNo, "more than 255 devices");
      d_.devices.push_back({std::string(code), std::string(name)});
      return true;
    }
    if (keyword == "clock-mode") {
      if (!Numbers(lineNo, keyword, rest, 0xFF, 0, 1, v)) return false;
      if (d_.clockModes.size() + v.size() > kMaxOneByteData - 1) {
        return Fail(lineNo, "more than 254 clock modes do not fit the answer");
      }
      d_.clockModes.insert(d_.clockModes.end(), v.begin(), v.end());
      return true;
    }
    if (keyword == "ratios") {
      if (!Numbers(lineNo, keyword, rest, 0xFF, 0, 0, v)) return false;
      ratioBytes_ += 1 + v.size();
      if (1 + ratioBytes_ > kMaxOneByteData) {
        return Fail(lineNo, "the ratio lists do not fit the answer");
      }
      d_.ratios.emplace_back(v.begin(), v.end());
      return true;
    }
    if (keyword == "frequency") {
      if (!Numbers(lineNo, keyword, rest, 0xFFFF, 2, 0, v)) return false;
      if (v[0] > v[1]) return Fail(lineNo, "minimum above maximum");
      if (d_.frequencies.size() >= (kMaxOneByteData - 1) / 4) {
        return Fail(lineNo, "more than 63 frequency entries do not fit the answer");
      }
      d_.frequencies.push_back(
          {static_cast<std::uint16_t>(v[0]), static_cast<std::uint16_t>(v[1])});
      return true;
    }
    if (keyword == "user-boot-mat") {
      return Area(lineNo, keyword, rest, d_.userBootMat, (kMaxOneByteData - 1) / 8);
    }
    if (keyword == "user-mat") {
      return Area(lineNo, keyword, rest, d_.userMat, (kMaxOneByteData - 1) / 8);
    }
    if (keyword == "erase-block") return Area(lineNo, keyword, rest, d_.eraseBlocks, kMaxCount);
    if (keyword == "write-size") {
      if (writeSizeLine_ != 0) {
        return Fail(lineNo, "write-size given twice (first on line " +
                                std::to_string(writeSizeLine_) + ")");
      }
      if (!Numbers(lineNo, keyword, rest, kMaxWriteSize, 1, 0, v)) return false;
      if (v[0] == 0) return Fail(lineNo, "write-size must not be 0");
      d_.writeSize = static_cast<std::uint16_t>(v[0]);
      writeSizeLine_ = lineNo;
      return true;
    }
    return Fail(lineNo, "unknown keyword '" + std::string(keyword) + "'");
  }

  std::optional<DeviceDescription> Finish() {
    if (d_.devices.empty()) return FailFile("no device described");
    if (d_.userMat.empty()) return FailFile("no user-mat area described");
    if (writeSizeLine_ == 0) return FailFile("no write-size given");
    if (SpanOf(d_.userMat).size > kMaxMatSpan) {
      return FailFile("the user mat spans more than 16 MiB");
    }
    if (SpanOf(d_.userBootMat).size > kMaxMatSpan) {
      return FailFile("the user boot mat spans more than 16 MiB");
    }
    return d_;
  }

  std::string_view source_;
  std::string* error_;
  DeviceDescription d_;
  std::size_t ratioBytes_ = 0;
  std::size_t writeSizeLine_ = 0;
};

}  // namespace

MemorySpan DeviceDescription::UserMatSpan() const {
  return SpanOf(userMat);
}
MemorySpan DeviceDescription::UserBootMatSpan() const {
  return SpanOf(userBootMat);
}

std::optional<DeviceDescription> ParseDeviceDescription(std::string_view text,
                                                        std::string_view source,
                                                        std::string* error) {
  return Parser(source, error).Run(text);
}

std::optional<DeviceDescription> LoadDeviceDescription(const std::string& path,
                                                       std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = path + ": cannot be opened";
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    if (error) *error = path + ": cannot be read";
    return std::nullopt;
  }
  return ParseDeviceDescription(text.str(), path, error);
}

std::string_view SampleDeviceDescriptionText() {
  return kSampleText;
}

DeviceDescription SampleDeviceDescription() {
  return *ParseDeviceDescription(kSampleText, "sample.dev", nullptr);
}

}  // namespace vantrel::simulator
