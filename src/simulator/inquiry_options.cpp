#include "simulator/inquiry_options.h"

#include <array>
#include <optional>

namespace vantrel::simulator {
namespace {

enum class Kind { Flag, Number, Inquiry, EraseAnswer, File };

struct OptionInfo {
  std::string_view name;
  Kind kind;
};

constexpr std::array kOptions{
    OptionInfo{"--device", Kind::File},
    OptionInfo{"--erase-ms", Kind::Number},
    OptionInfo{"--end-quiet-ms", Kind::Number},
    OptionInfo{"--fault-inquiry-code", Kind::Inquiry},
    OptionInfo{"--fault-inquiry-checksum", Kind::Inquiry},
    OptionInfo{"--fault-65-devices", Kind::Flag},
    OptionInfo{"--fault-70-clock-modes", Kind::Flag},
    OptionInfo{"--fault-bit-rate-nak", Kind::Flag},
    OptionInfo{"--fault-silent-new-rate", Kind::Flag},
    OptionInfo{"--fault-erase-answer", Kind::EraseAnswer},
    OptionInfo{"--fault-mat-nak", Kind::Flag},
    OptionInfo{"--fault-block-nak", Kind::Number},
    OptionInfo{"--fault-hang-up", Kind::Number},
    OptionInfo{"--fault-read-length", Kind::Number},
    OptionInfo{"--fault-read-checksum", Kind::Number},
    OptionInfo{"--fault-read-data", Kind::Number},
};

constexpr std::string_view kHelp =
    "Inquiry/selection boot loader:\n"
    "  --device FILE                 device description (default: the built-in\n"
    "                                sample.dev)\n"
    "  --erase-ms N                  time the erase takes, in ms (default 500)\n"
    "  --end-quiet-ms N              quiet after the end of programming that ends the\n"
    "                                job when no verification follows, in ms (default\n"
    "                                300)\n"
    "  --fault-inquiry-code CMD      answer inquiry CMD (0x20..0x27) with a wrong\n"
    "                                response code\n"
    "  --fault-inquiry-checksum CMD  answer inquiry CMD (0x20..0x27) with a wrong\n"
    "                                checksum\n"
    "  --fault-65-devices            report 65 devices (the described ones padded)\n"
    "  --fault-70-clock-modes        report 70 clock modes (the described ones\n"
    "                                padded)\n"
    "  --fault-bit-rate-nak          refuse the new bit rate command\n"
    "  --fault-silent-new-rate       never answer the confirmation at the new bit\n"
    "                                rate\n"
    "  --fault-erase-answer B|none   end the erase with byte B (0x26, 0x16, 0x55...)\n"
    "                                or nothing\n"
    "  --fault-mat-nak               refuse the mat selection\n"
    "  --fault-block-nak K           refuse the K-th programming frame (from 1)\n"
    "  --fault-hang-up K             after answering the K-th programming frame, drop\n"
    "                                the line and end\n"
    "  --fault-read-length K         give the K-th read answer a wrong length header\n"
    "  --fault-read-checksum K       give the K-th read answer a wrong checksum\n"
    "  --fault-read-data K           flip the last data byte of the K-th read answer\n";

const OptionInfo* Find(std::string_view option) {
  for (const auto& o : kOptions) {
    if (o.name == option) return &o;
  }
  return nullptr;
}

bool Fail(std::string* error, std::string_view option, std::string_view value,
          std::string_view expected) {
  if (error) {
    *error = std::string(option) + ": '" + std::string(value) + "' is not " + std::string(expected);
  }
  return false;
}

}  // namespace

bool IsInquiryOption(std::string_view option) {
  return Find(option) != nullptr;
}

bool InquiryOptionTakesValue(std::string_view option) {
  const auto* o = Find(option);
  return o && o->kind != Kind::Flag;
}

bool ApplyInquiryOption(std::string_view option, std::string_view value, InquiryConfig& config,
                        std::string* error) {
  const auto* o = Find(option);
  if (!o) {
    if (error) *error = "unknown option " + std::string(option);
    return false;
  }
  auto& f = config.faults;
  switch (o->kind) {
    case Kind::File: {
      auto device = LoadDeviceDescription(std::string(value), error);
      if (!device) return false;
      config.device = std::move(*device);
      return true;
    }
    case Kind::Flag:
      if (!value.empty()) return Fail(error, option, value, "expected (the option takes none)");
      if (option == "--fault-65-devices") f.manyDevices = true;
      if (option == "--fault-70-clock-modes") f.manyClockModes = true;
      if (option == "--fault-bit-rate-nak") f.nakBitRate = true;
      if (option == "--fault-silent-new-rate") f.silentAtNewRate = true;
      if (option == "--fault-mat-nak") f.nakMatSelection = true;
      return true;
    case Kind::Inquiry: {
      auto n = ParseTargetNumber(value);
      if (!n || *n < 0x20 || *n > 0x27) return Fail(error, option, value, "an inquiry 0x20..0x27");
      auto command = static_cast<std::uint8_t>(*n);
      if (option == "--fault-inquiry-code") f.wrongCodeFor = command;
      if (option == "--fault-inquiry-checksum") f.wrongChecksumFor = command;
      return true;
    }
    case Kind::EraseAnswer: {
      if (value == "none") {
        f.eraseAnswer = -1;
        return true;
      }
      auto n = ParseTargetNumber(value);
      if (!n || *n > 0xFF) return Fail(error, option, value, "a byte or none");
      f.eraseAnswer = static_cast<int>(*n);
      return true;
    }
    case Kind::Number: {
      auto n = ParseTargetNumber(value);
      bool counted = option != "--erase-ms" && option != "--end-quiet-ms";
      if (!n || (counted && *n == 0)) {
        return Fail(error, option, value, counted ? "a count from 1" : "a number");
      }
      if (option == "--erase-ms") config.eraseMs = *n;
      if (option == "--end-quiet-ms") config.endQuietMs = *n;
      if (option == "--fault-block-nak") f.nakBlock = *n;
      if (option == "--fault-hang-up") f.hangUpAfterBlock = *n;
      if (option == "--fault-read-length") f.readWrongLength = *n;
      if (option == "--fault-read-checksum") f.readWrongChecksum = *n;
      if (option == "--fault-read-data") f.readFlippedData = *n;
      return true;
    }
  }
  return false;
}

std::string_view InquiryOptionsHelp() {
  return kHelp;
}

}  // namespace vantrel::simulator
