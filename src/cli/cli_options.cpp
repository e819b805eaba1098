#include "cli/cli_options.h"

#include <cstdlib>

#include "platform/serial_device.h"

namespace vantrel::cli {
namespace {

bool IsBaudText(std::string_view text) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return std::strtoul(std::string(text).c_str(), nullptr, 10) > 0;
}

}  // namespace

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string_view>& args,
                                          std::string& error) {
  CliOptions o;
  std::vector<std::string_view> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view a = args[i];
    std::string_view inlineValue;
    bool hasInline = false;
    if (a.starts_with("--")) {
      if (const auto eq = a.find('='); eq != std::string_view::npos) {
        inlineValue = a.substr(eq + 1);
        a = a.substr(0, eq);
        hasInline = true;
      }
    }
    auto value = [&](std::string& out) -> bool {
      if (hasInline) {
        out = inlineValue;
        return true;
      }
      if (i + 1 >= args.size()) {
        error = std::string(a) + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    auto flag = [&](bool& out) -> bool {
      if (hasInline) {
        error = std::string(a) + " takes no value";
        return false;
      }
      out = true;
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      if (!flag(o.help)) return std::nullopt;
    } else if (a == "--version") {
      if (!flag(o.version)) return std::nullopt;
    } else if (a == "--home") {
      if (!value(o.home)) return std::nullopt;
    } else if (a == "--port") {
      if (!value(o.port)) return std::nullopt;
    } else if (a == "--cpu") {
      if (!value(o.cpu)) return std::nullopt;
    } else if (a == "--baud-boot" || a == "--baud-prog") {
      if (!value(v)) return std::nullopt;
      if (!IsBaudText(v)) {
        error =
            std::string(a) + " needs a positive whole number of bits per second, not '" + v + "'";
        return std::nullopt;
      }
      (a == "--baud-boot" ? o.baudBoot : o.baudProg) = v;
    } else if (a == "--verify") {
      if (!flag(o.verify)) return std::nullopt;
    } else if (a == "--cpu-report") {
      if (!flag(o.cpuReport)) return std::nullopt;
    } else if (a == "--") {
      for (++i; i < args.size(); ++i) files.push_back(args[i]);
    } else if (a.starts_with("-") && a.size() > 1) {
      error = "unknown option " + std::string(a);
      return std::nullopt;
    } else {
      files.push_back(a);
    }
  }
  if (o.help || o.version) return o;
  if (o.port.empty()) {
    error = "--port is required";
    return std::nullopt;
  }
  if (o.cpu.empty()) {
    error = "--cpu is required";
    return std::nullopt;
  }
  if (files.size() != 1) {
    error = files.empty() ? "the user program FILE is missing"
                          : "only one user program FILE may be given";
    return std::nullopt;
  }
  if (files.front().empty()) {
    error = "the user program FILE is empty";
    return std::nullopt;
  }
  o.file = files.front();
  return o;
}

std::string CliHelpText() {
  std::string text = R"(Usage: vantrel-cli [--home DIR] --port PORT --cpu NAME [--baud-boot RATE]
                   [--baud-prog RATE] [--verify] [--cpu-report] FILE

Writes the user program FILE (Motorola S-records) into the flash of a target that has been
reset into its serial boot mode, and optionally reads it back and compares it.

  --home DIR        folder that holds CTRL_MOT (default: the folder of this program)
  --port PORT       serial port: @PORTS@
  --cpu NAME        CPU type: a write-control file in DIR/CTRL_MOT (NAME.mot for the classic
                    protocol, NAME.inf for the inquiry/selection protocol); its section of
                    CTRL_MOT/Baud.ini sets the baud rates, BlockSize and RomBaseAddr
  --baud-boot RATE  baud rate for the bit-rate adjustment (wins over Baud.ini)
  --baud-prog RATE  baud rate for programming (wins over Baud.ini; an .inf file's BaudP
                    still decides the rate of an inquiry/selection job)
  --verify          read every written block back and compare it
  --cpu-report      write CpuInf.txt beside the CTRL_MOT folder after the inquiries even
                    when they succeed (it is always written after they fail)
  --help            show this text and exit
  --version         show the version and exit

Every message the window would show in a box is printed to stderr as one line. On a
terminal a one-line progress display runs; otherwise one line is printed per phase.
Ctrl-C aborts the job as the window's button does (the port is closed) and exits 1.

Exit codes:
  0   written (and verified, with --verify)
  1   the job failed or was aborted
  2   verification failed
  64  usage error
)";
  text.replace(text.find("@PORTS@"), 7, platform::PortNameHelp());
  return text;
}

std::string CliVersionText() {
  return std::string("vantrel-cli ") + VANTREL_VERSION + "\n";
}

}  // namespace vantrel::cli
