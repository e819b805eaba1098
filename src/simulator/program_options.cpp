#include "simulator/program_options.h"

#include <array>
#include <vector>

#include "platform/text.h"
#include "simulator/inquiry_options.h"

namespace vantrel::simulator {
namespace {

enum class Scope { Both, Classic };
enum class Kind { Flag, Number, Count, Byte, ByteOrNone, Bytes, Text, Stall };

struct OptionInfo {
  std::string_view name;
  Kind kind;
  Scope scope;
};

constexpr std::array kOptions{
    OptionInfo{"--protocol", Kind::Text, Scope::Both},
    OptionInfo{"--erase-ms", Kind::Number, Scope::Both},
    OptionInfo{"--prog-baud", Kind::Number, Scope::Classic},
    OptionInfo{"--block-size", Kind::Number, Scope::Classic},
    OptionInfo{"--flash-base", Kind::Number, Scope::Classic},
    OptionInfo{"--flash-size", Kind::Number, Scope::Classic},
    OptionInfo{"--pacing", Kind::Flag, Scope::Both},
    OptionInfo{"--no-pacing", Kind::Flag, Scope::Both},
    OptionInfo{"--sync-zeros", Kind::Count, Scope::Both},
    OptionInfo{"--dump", Kind::Text, Scope::Both},
    OptionInfo{"--link", Kind::Text, Scope::Both},
    OptionInfo{"--jobs", Kind::Count, Scope::Both},
    OptionInfo{"--replug", Kind::Number, Scope::Both},
    OptionInfo{"--quiet", Kind::Flag, Scope::Both},
    OptionInfo{"--verbose", Kind::Flag, Scope::Both},
    OptionInfo{"--help", Kind::Flag, Scope::Both},
    OptionInfo{"--version", Kind::Flag, Scope::Both},
    OptionInfo{"--fault-no-sync", Kind::Flag, Scope::Both},
    OptionInfo{"--fault-handshake", Kind::Byte, Scope::Both},
    OptionInfo{"--fault-noise", Kind::Bytes, Scope::Both},
    OptionInfo{"--fault-drop", Kind::Count, Scope::Both},
    OptionInfo{"--fault-cut", Kind::Count, Scope::Both},
    OptionInfo{"--fault-stall", Kind::Stall, Scope::Both},
    OptionInfo{"--fault-drop-echo", Kind::Count, Scope::Classic},
    OptionInfo{"--fault-corrupt-echo", Kind::Count, Scope::Classic},
    OptionInfo{"--fault-erase-answer", Kind::ByteOrNone, Scope::Classic},
    OptionInfo{"--fault-block-nak", Kind::Count, Scope::Classic},
    OptionInfo{"--fault-block-silent", Kind::Count, Scope::Classic},
    OptionInfo{"--fault-verify-address", Kind::Count, Scope::Classic},
    OptionInfo{"--fault-verify-no-data", Kind::Count, Scope::Classic},
    OptionInfo{"--fault-verify-data", Kind::Count, Scope::Classic},
    OptionInfo{"--fault-hang-up", Kind::Count, Scope::Classic},
};

constexpr std::string_view kHelp =
    "Usage: vantrel-target [OPTION]...\n"
    "\n"
    "A simulated microcontroller in serial boot mode on a pseudo-terminal. Prints\n"
    "the device path to open as its first line, then serves programming jobs until\n"
    "stopped (SIGTERM, SIGINT) or until --jobs jobs have ended. Numbers are decimal\n"
    "or 0x-prefixed hex.\n"
    "\n"
    "Options:\n"
    "  --protocol classic|inquiry    boot protocol (default classic)\n"
    "  --erase-ms N                  time the erase takes, in ms (default 1500\n"
    "                                classic)\n"
    "  --pacing, --no-pacing         carry bytes no faster than the line rate\n"
    "                                (default off)\n"
    "  --sync-zeros N                zero bytes needed to adjust the bit rate\n"
    "                                (default 3)\n"
    "  --dump FILE                   write the flash [base, base+size) as raw binary\n"
    "                                at the end of each job, when the host leaves,\n"
    "                                and on exit\n"
    "  --link PATH                   make PATH a symbolic link to the device while\n"
    "                                running\n"
    "  --jobs N                      end after N jobs (default: run until stopped)\n"
    "  --replug MS                   after each job, unplug the board and plug in a\n"
    "                                new one with an erased flash MS ms later: a new\n"
    "                                pseudo-terminal, its path printed as the next\n"
    "                                line, --link moved to it; --dump FILE.bin then\n"
    "                                writes FILE-1.bin, FILE-2.bin, ..., one per\n"
    "                                board\n"
    "  --quiet                       no trace on stderr\n"
    "  --verbose                     trace every byte on stderr\n"
    "  --help, --version             print this text or the version and end\n"
    "  --fault-no-sync               never answer the bit-rate adjustment\n"
    "  --fault-handshake B           answer 0x55 with byte B\n"
    "  --fault-noise B[,B...]        send these bytes when the host opens the line\n"
    "  --fault-drop K                lose the K-th byte the target answers (from 1,\n"
    "                                the sync answer; counted again in each boot\n"
    "                                mode)\n"
    "  --fault-cut K                 lose the K-th answer byte and the rest of its\n"
    "                                answer\n"
    "  --fault-stall K,MS            hold the K-th answer byte, and every byte after\n"
    "                                it, for MS ms: the line goes silent, then comes\n"
    "                                back\n"
    "\n"
    "Classic boot loader and write-control program:\n"
    "  --prog-baud N                 rate the program listens at after the erase\n"
    "                                (default: whatever rate the host sets; at\n"
    "                                another rate than the host's, each side gets\n"
    "                                garbled bytes)\n"
    "  --block-size 128|256          write block size (default 128)\n"
    "  --flash-base ADDR             first flash address (default 0)\n"
    "  --flash-size N                flash size in bytes (default 0x100000)\n"
    "  --fault-drop-echo K           never echo program byte K (from 1)\n"
    "  --fault-corrupt-echo K        echo program byte K with its top bit flipped\n"
    "  --fault-erase-answer B|none   end the erase with byte B, or with no answer\n"
    "  --fault-block-nak K           refuse written block K (from 1) with 0x15\n"
    "  --fault-block-silent K        never answer written block K\n"
    "  --fault-verify-address K      echo a wrong address to verify K (from 1)\n"
    "  --fault-verify-no-data K      send no data to verify K\n"
    "  --fault-verify-data K         flip a bit of the last byte sent to verify K\n"
    "  --fault-hang-up K             after answering written block K, drop the line\n"
    "                                and end\n"
    "\n";

constexpr std::string_view kExitCodes =
    "\n"
    "Exit codes:\n"
    "  0   normal end\n"
    "  1   any other failure\n"
    "  64  usage error\n";

constexpr std::string_view kExamples =
    "\n"
    "Examples:\n"
    "A classic board at build/board that programs at 57600 baud after a 300 ms erase:\n"
    "  vantrel-target --link build/board --prog-baud 57600 --erase-ms 300\n"
    "Boards one after another for vantrel-cli --repeat, each dumped as board-N.bin:\n"
    "  vantrel-target --link build/board --replug 1000 --dump board.bin\n";

const OptionInfo* Find(std::string_view name) {
  for (const auto& o : kOptions) {
    if (o.name == name) return &o;
  }
  return nullptr;
}

struct Given {
  std::string_view name;
  std::string_view value;
};

class Parser {
 public:
  ParsedOptions Run(std::span<const std::string_view> args) {
    std::vector<Given> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
      std::string_view name = args[i];
      std::string_view value;
      bool inlineValue = false;
      if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string_view::npos) {
        value = name.substr(eq + 1);
        name = name.substr(0, eq);
        inlineValue = true;
      }
      const OptionInfo* mine = Find(name);
      const bool inquiry = IsInquiryOption(name);
      if (!mine && !inquiry) return Fail("unknown option " + std::string(name));
      const bool takesValue = mine ? mine->kind != Kind::Flag : InquiryOptionTakesValue(name);
      if (takesValue && !inlineValue) {
        if (i + 1 >= args.size()) return Fail(std::string(name) + " needs a value");
        value = args[++i];
      } else if (!takesValue && inlineValue) {
        return Fail(std::string(name) + " takes no value");
      }
      if (name == "--protocol") {
        if (value == "classic") {
          options_.protocol = Protocol::Classic;
        } else if (value == "inquiry") {
          options_.protocol = Protocol::Inquiry;
        } else {
          return Fail("--protocol: '" + std::string(value) + "' is not classic or inquiry");
        }
      }
      given.push_back({name, value});
    }
    // The protocol decides who owns an option both loaders know, so it is applied first.
    for (const auto& g : given) {
      if (g.name == "--protocol") continue;
      const OptionInfo* mine = Find(g.name);
      const bool inquiryOwns = options_.protocol == Protocol::Inquiry && IsInquiryOption(g.name);
      if (inquiryOwns) {
        std::string error;
        if (!ApplyInquiryOption(g.name, g.value, inquiry_, &error)) return Fail(error);
        continue;
      }
      if (!mine) return Fail(std::string(g.name) + " needs --protocol inquiry");
      if (mine->scope == Scope::Classic && options_.protocol != Protocol::Classic) {
        return Fail(std::string(g.name) + " needs --protocol classic");
      }
      if (!Apply(*mine, g.value)) return Fail(error_);
    }
    if (options_.protocol == Protocol::Inquiry) {
      const MemorySpan span = inquiry_.device.UserMatSpan();
      options_.target.flashBase = span.base;
      options_.target.flashSize = span.size;
      options_.target.makeLoader = [config = inquiry_](Flash& flash) {
        return MakeInquiryBootLoader(config, flash);
      };
    }
    return ParsedOptions{std::move(options_), {}};
  }

 private:
  ParsedOptions Fail(std::string error) { return ParsedOptions{std::nullopt, std::move(error)}; }

  bool Bad(const OptionInfo& o, std::string_view value, std::string_view expected) {
    error_ = std::string(o.name) + ": '" + std::string(value) + "' is not " + std::string(expected);
    return false;
  }

  bool Apply(const OptionInfo& o, std::string_view value) {
    TargetOptions& t = options_.target;
    ClassicFaults& f = t.classic.faults;
    const std::string_view n = o.name;
    switch (o.kind) {
      case Kind::Flag:
        if (n == "--pacing") t.pacing = true;
        if (n == "--no-pacing") t.pacing = false;
        if (n == "--quiet") options_.verbosity = 0;
        if (n == "--verbose") options_.verbosity = 2;
        if (n == "--help") options_.help = true;
        if (n == "--version") options_.version = true;
        if (n == "--fault-no-sync") t.noSync = true;
        return true;
      case Kind::Text:
        if (value.empty()) return Bad(o, value, "a file name");
        // --protocol was handled while reading the arguments
        if (n == "--link") {
          options_.linkPath = value;
        } else {
          options_.dumpPath = value;
        }
        return true;
      case Kind::Byte:
      case Kind::ByteOrNone: {
        if (o.kind == Kind::ByteOrNone && value == "none") {
          f.noEraseAnswer = true;
          return true;
        }
        const auto b = platform::ParseUnsigned(value);
        if (!b || *b > 0xFF)
          return Bad(o, value, o.kind == Kind::Byte ? "a byte" : "a byte or none");
        if (n == "--fault-handshake") t.handshakeAnswer = static_cast<std::uint8_t>(*b);
        if (n == "--fault-erase-answer") f.eraseAnswer = static_cast<std::uint8_t>(*b);
        return true;
      }
      case Kind::Bytes: {
        t.noise.clear();
        std::string_view rest = value;
        while (true) {
          const auto comma = rest.find(',');
          const auto b = platform::ParseUnsigned(rest.substr(0, comma));
          if (!b || *b > 0xFF) return Bad(o, value, "a list of bytes");
          t.noise.push_back(static_cast<std::uint8_t>(*b));
          if (comma == std::string_view::npos) break;
          rest.remove_prefix(comma + 1);
        }
        return true;
      }
      case Kind::Count: {
        const auto k = platform::ParseUnsigned(value);
        if (!k || *k == 0 || *k > 0xFFFFFFFFu) return Bad(o, value, "a count from 1");
        const auto c = static_cast<std::uint32_t>(*k);
        if (n == "--sync-zeros") t.syncZeros = c;
        if (n == "--jobs") options_.jobs = c;
        if (n == "--fault-drop-echo") f.dropEcho = c;
        if (n == "--fault-corrupt-echo") f.corruptEcho = c;
        if (n == "--fault-block-nak") f.nakBlock = c;
        if (n == "--fault-block-silent") f.silentBlock = c;
        if (n == "--fault-verify-address") f.badAddressEcho = c;
        if (n == "--fault-verify-no-data") f.noVerifyData = c;
        if (n == "--fault-verify-data") f.flipVerifyByte = c;
        if (n == "--fault-hang-up") f.hangUpAfterBlock = c;
        if (n == "--fault-drop") t.line.dropByte = c;
        if (n == "--fault-cut") t.line.cutByte = c;
        return true;
      }
      case Kind::Stall: {
        const auto comma = value.find(',');
        const auto k = platform::ParseUnsigned(value.substr(0, comma));
        std::optional<std::uint64_t> ms;
        if (comma != std::string_view::npos) ms = platform::ParseUnsigned(value.substr(comma + 1));
        if (!k || *k == 0 || *k > 0xFFFFFFFFu || !ms || *ms > 0xFFFFFFFFu) {
          return Bad(o, value, "a count from 1 and a time in ms (K,MS)");
        }
        t.line.stallByte = static_cast<std::uint32_t>(*k);
        t.line.stallMs = static_cast<std::uint32_t>(*ms);
        return true;
      }
      case Kind::Number: {
        const auto v = platform::ParseUnsigned(value);
        if (!v || *v > 0xFFFFFFFFu) return Bad(o, value, "a 32-bit number");
        const auto u = static_cast<std::uint32_t>(*v);
        if (n == "--erase-ms") t.classic.eraseMs = u;
        if (n == "--prog-baud") t.classic.programmingBaud = u;
        if (n == "--flash-base") t.flashBase = u;
        if (n == "--replug") options_.replugMs = u;
        if (n == "--block-size") {
          if (u != 128 && u != 256) return Bad(o, value, "128 or 256");
          t.classic.blockSize = u;
        }
        if (n == "--flash-size") {
          // The dump and the model hold the whole flash; 16 MiB is all 24 address bits reach.
          if (u == 0 || u > 0x1000000u) return Bad(o, value, "a size from 1 to 0x1000000");
          t.flashSize = u;
        }
        return true;
      }
    }
    return false;
  }

  ProgramOptions options_;
  InquiryConfig inquiry_;
  std::string error_;
};

}  // namespace

ParsedOptions ParseProgramOptions(std::span<const std::string_view> args) {
  return Parser().Run(args);
}

std::string ProgramHelp() {
  std::string text(kHelp);
  text += InquiryOptionsHelp();
  text += kExitCodes;
  text += kExamples;
  return text;
}

}  // namespace vantrel::simulator
