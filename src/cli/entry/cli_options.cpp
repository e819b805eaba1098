#include "cli/entry/cli_options.h"

#include <algorithm>

#include "cli/entry/address_text.h"
#include "platform/serial_device.h"
#include "platform/text.h"

namespace vantrel::cli {
namespace {

// Decimal digits only, as the port reads a baud text; nine of them at most.
bool IsBaudText(std::string_view text) {
  if (text.empty() || text.size() > 9) return false;
  if (text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  return platform::ReadLeadingDecimal(text) > 0;
}

constexpr std::string_view kOptions[] = {
    "--help",      "--version",     "--home",       "--port",       "--cpu",
    "--baud-boot", "--baud-prog",   "--verify",     "--cpu-report", "--cadence",
    "--trace",     "--report",      "--log",        "--events",     "--repeat",
    "--serial",    "--serial-file", "--list-ports", "--job",        "--serial-over-program",
    "--view"};

// Options that hold one value: a second one would silently win over the first.
constexpr std::string_view kSingleValued[] = {
    "--home", "--cpu",    "--baud-boot", "--baud-prog", "--cadence",     "--trace", "--report",
    "--log",  "--events", "--job",       "--serial",    "--serial-file", "--view"};

// Edits (a letter added, left out, changed, or two swapped) that make one name the other.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min(
          {d[i - 1][j] + 1, d[i][j - 1] + 1,
           d[i - 1][j - 1] + (platform::AsciiLower(a[i - 1]) != platform::AsciiLower(b[j - 1]))});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

std::string UnknownOption(std::string_view a) {
  std::string error = "unknown option " + std::string(a);
  std::string_view best;
  std::size_t bestDistance = 3;  // more edits than two is another word
  for (const std::string_view known : kOptions) {
    const std::size_t distance = a.size() >= 4 && known.starts_with(a) ? 1 : EditDistance(a, known);
    if (distance < bestDistance) {
      best = known;
      bestDistance = distance;
    }
  }
  return best.empty() ? error : error + ": did you mean " + std::string(best) + "?";
}

// NAME.bin@ADDR with an address written as an assembler writes it: usage, not a missing file.
std::optional<std::string> MisspeltBinaryAddress(std::string_view file) {
  const auto at = file.rfind('@');
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view name = file.substr(0, at);
  const std::string_view address = file.substr(at + 1);
  if (name.size() < 4 || !platform::EqualsIgnoringCase(name.substr(name.size() - 4), ".bin") ||
      platform::ParseUnsigned(address, 0xFFFFFFFF)) {
    return std::nullopt;
  }
  const std::string hex = HexAddressSpelling(address);
  if (hex.empty()) return std::nullopt;
  return std::string(file) + ": the address after @ must be hexadecimal as " + hex +
         " or decimal (" + std::string(name) + "@" + hex + ")";
}

std::string Joined(const std::vector<std::string_view>& texts) {
  std::string out;
  for (const auto t : texts) {
    if (!out.empty()) out += ' ';
    out += t;
  }
  return out;
}

}  // namespace

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string_view>& args,
                                          std::string& error) {
  CliOptions o;
  std::vector<std::string_view> files;
  std::vector<std::pair<std::string_view, std::string>> given;  // single-valued options so far
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
    if (std::find(std::begin(kSingleValued), std::end(kSingleValued), a) !=
        std::end(kSingleValued)) {
      // --job takes its file only after '=': a separate word is a positional argument.
      if (a == "--job") {
        v = inlineValue;
      } else if (!value(v)) {
        return std::nullopt;
      }
      const auto before =
          std::find_if(given.begin(), given.end(), [&](const auto& g) { return g.first == a; });
      if (before != given.end()) {
        error = std::string(a) + " is given twice" +
                (before->second.empty() || v.empty()
                     ? ""
                     : " ('" + before->second + "', then '" + v + "')") +
                ": give it once";
        return std::nullopt;
      }
      given.emplace_back(a, v);
    }
    if (a == "--help" || a == "-h") {
      if (!flag(o.help)) return std::nullopt;
    } else if (a == "--version") {
      if (!flag(o.version)) return std::nullopt;
    } else if (a == "--home") {
      o.home = v;
    } else if (a == "--port") {
      if (!value(v)) return std::nullopt;
      if (v.empty()) {
        error = "--port needs a port name";
        return std::nullopt;
      }
      if (std::find(o.ports.begin(), o.ports.end(), v) != o.ports.end()) {
        error = "--port " + v + " is given twice";
        return std::nullopt;
      }
      o.ports.push_back(v);
    } else if (a == "--cadence") {
      const auto mode = ParseTickMode(v);
      if (!mode) {
        error = "--cadence takes 10ms or fast, not '" + v + "'";
        return std::nullopt;
      }
      o.tickMode = *mode;
    } else if (a == "--trace" || a == "--report" || a == "--log" || a == "--events") {
      if (v.empty()) {
        error = std::string(a) + " needs a file name";
        return std::nullopt;
      }
      if (a == "--log" && v == "-") {
        error = std::string(a) + " needs a file name, not '-'";
        return std::nullopt;
      }
      (a == "--trace" ? o.trace : a == "--report" ? o.report : a == "--log" ? o.log : o.events) = v;
    } else if (a == "--repeat") {
      if (!flag(o.repeat)) return std::nullopt;
    } else if (a == "--view") {
      o.view = ParseViewAddress(v, error);
      if (!o.view) return std::nullopt;
    } else if (a == "--list-ports") {
      if (!flag(o.listPorts)) return std::nullopt;
    } else if (a == "--cpu") {
      o.cpu = v;
    } else if (a == "--baud-boot" || a == "--baud-prog") {
      if (!IsBaudText(v)) {
        error =
            std::string(a) + " needs a positive whole number of bits per second, not '" + v + "'";
        return std::nullopt;
      }
      (a == "--baud-boot" ? o.baudBoot : o.baudProg) = v;
    } else if (a == "--verify") {
      if (!flag(o.verify)) return std::nullopt;
    } else if (a == "--job") {
      o.job = v;
    } else if (a == "--serial") {
      o.serial = ParseSerialOption(v, error);
      if (!o.serial) return std::nullopt;
    } else if (a == "--serial-file") {
      o.serialFile = v;
      if (o.serialFile.empty()) {
        error = "--serial-file needs a file name";
        return std::nullopt;
      }
    } else if (a == "--serial-over-program") {
      if (!flag(o.serialOverProgram)) return std::nullopt;
    } else if (a == "--cpu-report") {
      if (!flag(o.cpuReport)) return std::nullopt;
    } else if (a == "--") {
      for (++i; i < args.size(); ++i) files.push_back(args[i]);
    } else if (a.starts_with("-") && a.size() > 1) {
      error = UnknownOption(a);
      return std::nullopt;
    } else {
      files.push_back(a);
    }
  }
  if (o.help || o.version || o.listPorts) return o;
  if (!o.serial && (!o.serialFile.empty() || o.serialOverProgram)) {
    error = std::string(o.serialFile.empty() ? "--serial-over-program" : "--serial-file") +
            " needs --serial";
    return std::nullopt;
  }
  if (o.view && !o.repeat) {
    error = "--view shows a station: it needs --repeat";
    return std::nullopt;
  }
  if (o.report == "-" && o.repeat) {
    error =
        "--report - writes one JSON array at the end; with --repeat name a file (written again "
        "after each round), or use --log FILE.jsonl";
    return std::nullopt;
  }
  if (o.report == "-" && o.events == "-") {
    error = "--report - and --events - cannot both have standard output; name a file for one";
    return std::nullopt;
  }
  for (const auto file : files) {
    if (const auto misspelt = MisspeltBinaryAddress(file)) {
      error = *misspelt;
      return std::nullopt;
    }
  }
  if (o.job) {
    // The job file names the rest; a positional argument is the job file.
    const bool named = !o.job->empty();
    if (files.size() > (named ? 0u : 1u)) {
      const std::string jobFile = named ? *o.job : std::string(files.front());
      const std::vector<std::string_view> extra(files.begin() + (named ? 0 : 1), files.end());
      error = "the job file " + jobFile +
              " names the user program (UserMotPath, or @APP_MOT), so " + Joined(extra) +
              " cannot be given as well: leave out --job to write it, or name it in the job file";
      return std::nullopt;
    }
    if (files.size() == 1) o.job = std::string(files.front());
    return o;
  }
  if (o.ports.empty()) {
    error = "--port is required";
    return std::nullopt;
  }
  if (o.cpu.empty()) {
    error = "--cpu is required";
    return std::nullopt;
  }
  if (files.empty() || files.size() > kMostProgramFiles) {
    error = files.empty() ? "the user program FILE is missing"
                          : "at most " + std::to_string(kMostProgramFiles) +
                                " user program FILEs may be given";
    return std::nullopt;
  }
  if (std::find(files.begin(), files.end(), std::string_view()) != files.end()) {
    error = "the user program FILE is empty";
    return std::nullopt;
  }
  o.files.assign(files.begin(), files.end());
  o.file = o.files.front();
  return o;
}

std::string CliHelpText() {
  std::string text = R"(Usage: vantrel-cli [--home DIR] --port PORT [--port PORT ...] --cpu NAME
                   [--baud-boot RATE] [--baud-prog RATE] [--verify]
                   [--cpu-report] [--cadence 10ms|fast] [--trace FILE|-]
                   [--report FILE.json] [--repeat] [--log FILE.jsonl]
                   [--events FILE|-] [--view [ADDR:]PORT]
                   [--serial ADDR:FIRST[:STEP[:FORMAT]] [--serial-file FILE]]
                   FILE [FILE ...]
       vantrel-cli [--home DIR] [--port PORT ...] [--cpu NAME] [OPTIONS]
                   --job [JOBFILE]
       vantrel-cli --list-ports

Writes the user program into the flash of a target that has been reset into its
serial boot mode, and optionally reads it back and compares it. Given several
ports, it programs the same program into the board on each of them at the same
time.

The program is one FILE or several, merged into one image (a boot loader and an
application, say); two files that supply the same byte are refused. Each FILE
is read by its name:
  NAME.hex, NAME.ihx  Intel HEX (record types 00 to 05; start addresses are
                      ignored)
  NAME.bin@ADDR       raw binary, its first byte at ADDR (0x hex, or decimal)
  anything else       Motorola S-records
Bytes outside the ROM window (RomBaseAddr, 1 MiB) are left out, as in the
window.

Every message the window would show in a box is printed to stderr as one line,
followed by a hint line where there is something to check. On a terminal a
progress line per board runs; otherwise one line is printed per phase. With
several ports every line starts with its port, and a table of the results goes
to stdout at the end. Ctrl-C aborts every job as the window's button does (the
port is closed); a job that had already succeeded keeps its result. With
--repeat, Ctrl-C during a job aborts it and then ends the station; while the
station waits for the next board it ends it at once.

Options:
  --home DIR        folder that holds CTRL_MOT (default: the folder of this
                    program, or the configuration folder when this program's
                    folder is not yours to write; the last lines of this text
                    name it)
  --port PORT       serial port, given once per board for several at once:
                    @PORTS@
  --cpu NAME        CPU type: a write-control file in DIR/CTRL_MOT (NAME.mot
                    for the classic protocol, NAME.inf for the
                    inquiry/selection protocol); its section of
                    CTRL_MOT/Baud.ini sets the baud rates, BlockSize and
                    RomBaseAddr
  --baud-boot RATE  baud rate for the bit-rate adjustment (wins over Baud.ini)
  --baud-prog RATE  baud rate for programming (wins over Baud.ini; an .inf
                    file's BaudP still decides the rate of an inquiry/selection
                    job)
  --verify          read every written block back and compare it
  --cpu-report      write CpuInf.txt beside the CTRL_MOT folder after the
                    inquiries even when they succeed (it is always written
                    after they fail); with several ports each board writes
                    CpuInf-<port>.txt (/dev/ttyUSB0: CpuInf-ttyUSB0.txt)
  --cadence MODE    fast (the default): work as soon as the line allows, never
                    faster than the protocol's own timing; 10ms: one step
                    every 10 ms exactly, as the window's original timer
  --trace FILE      write every byte on the line to FILE (- for stderr): one
                    line per run of bytes in one direction, with the
                    milliseconds since the start, the baud rate, the sequence
                    step, > to the target or < from it, and the bytes in hex
  --report FILE     write a JSON array with one record per board: port,
                    cpuType, controlFile (path and sha256 of the write-control
                    file), baudBoot, baudProg, blockSize and romBaseAddr (the
                    values the job ran with), userProgram, inputs (path,
                    sha256 and mixedChecksums of each FILE), serialNumber
                    (with --serial), sha256 (of the data written, block by
                    block in address order; null unless all was written),
                    result (verified, written, verify-failed, failed,
                    aborted), exitCode, message, firstDifference,
                    verifyFailure (what a failed verification saw: mismatch,
                    address, header, checksum, timeout, line-lost,
                    block-size), startTime (UTC), durationSeconds, bytesSent,
                    bytesReceived, toolVersion; with --repeat it is written
                    again after each round, with that round's boards. FILE -
                    is standard output (the table of results then goes to
                    stderr); a device or a pipe is written to, not replaced.
                    An input's mixedChecksums is {"line": N} when line N of
                    an S-record FILE is the first with a checksum of the
                    other kind (its sum 0x00, not 0xFF, or the other way
                    round), else null
  --log FILE        append one line per board job to FILE, a JSON object with
                    the report's fields and hostName (this machine's name), on
                    the disk as soon as the job ends: a crash loses at most the
                    job that was running; several runs and stations may append
                    to one log
  --events FILE     write every event of every board's job as it happens to
                    FILE (- for stdout), one JSON object per line: board, port,
                    time (UTC), kind (status, progress, running, rate, beep,
                    failure, notice, result, end) and the kind's fields; a
                    board's last line is its end, with the report's result
                    (outcome) and exitCode. With - the table of results and
                    the station's lines go to stderr (docs/events.md)
  --repeat          a station: program board after board on the same port(s)
                    until Ctrl-C. After each round it waits for the next
                    board, which is there once every port has gone and come
                    back (the board with its adapter unplugged and a new one
                    plugged in, looked at every 150 ms) or Enter is pressed on
                    the terminal (a foot switch), or a line comes through a
                    pipe on standard input; the board still connected is never
                    programmed again. After each board a line goes to stdout:
                    "board N  RESULT [serial S]  passed P  failed F  R
                    boards/h" (boards per hour since the start, waits
                    included); "stopped after N boards ..." at the end
  --view [ADDR:]PORT
                    with --repeat: serve a page of the station at
                    http://ADDR:PORT/ (ADDR 127.0.0.1 unless given; 0.0.0.0
                    for every network) for any browser: a tile per port with
                    its board's serial number, phase, progress, time and a
                    large PASS or FAIL with the message and hint; the totals,
                    the CPU type, the program files with their SHA-256 and the
                    last twenty boards. It only shows: nothing can be started
                    or changed from it; at most 16 browsers at once. A port in
                    use is a usage error before any board is touched
  --serial ADDR:FIRST[:STEP[:FORMAT]]
                    write a serial number at ADDR over the program: FIRST into
                    the first board, FIRST+STEP into the next (STEP 1 unless
                    given), one per --port in their order, and with --repeat
                    on from round to round. FORMAT: le16, le32 (the default),
                    le64, be16, be32, be64, or ascii:N (decimal, N digits,
                    zero-padded); a number that does not fit is an error. The
                    bytes must lie in the ROM window, where no FILE supplies a
                    byte other than 0xFF.
  --serial-over-program
                    let the serial number replace bytes a FILE supplies
  --serial-file FILE
                    keep the next serial number in FILE (one decimal number
                    and a newline; made, starting at FIRST, when missing; its
                    number wins over FIRST). It is replaced before any board
                    is written, under the lock FILE.lock that stations sharing
                    FILE wait for: no number is given twice, even to a board
                    whose job fails or is killed
  --list-ports      print the serial ports there are, tab-separated with a
                    header line: port, device, driver, USB vendor and product
                    id, manufacturer, product, serial number ("-" where
                    unknown); no port is opened
  --job [JOBFILE]   take the job from an AutoPgm.ini, as the window's -GO
                    does: no JOBFILE reads DIR/@AUTO_PGM/AutoPgm.ini, a bare
                    name is looked for in DIR/@AUTO_PGM, a path with a folder
                    is used as it is. Its ComPortNo (COMn), BaudB, BaudP,
                    CtrlProgam, UserMotPath and Verify are taken with the
                    window's value rules; --port and --cpu win over them, the
                    CPU type's Baud.ini section then sets the rates, and
                    --baud-boot and --baud-prog win over all. A program in
                    DIR/@APP_MOT (the first .mot by name, else the first .s)
                    wins over UserMotPath. Left, Top, Snap, AutoStart and
                    AutoExit are window-only and ignored.
  --help            show this text and exit
  --version         show the version and exit

Exit codes:
  0   written (and verified, with --verify), on every board
  1   a job failed or was aborted (or the report, a line of the log, or a CPU
      report asked for with --cpu-report, could not be written); or, before
      any port opened, a FILE or the serial file could not be read, or the
      serial numbers ran out
  2   a verification failed (on any board)
  64  usage error (a --serial outside the ROM window or over the program among
      them), a --trace file that cannot be created, or a --log that cannot be
      opened
With --repeat: 0 when every board of the station passed, else the worst code
of any round, 2 before 1; a usage error ends it at once with 64.

Examples:
A boot loader and an application, numbered from 5000 on, three boards at once:
  vantrel-cli --cpu MYCPU.mot --port /dev/ttyUSB0 --port /dev/ttyUSB1 \
      --port /dev/ttyUSB2 --serial 0x7FF0:5000:1:be32 \
      --serial-file /srv/line3/serial.txt boot.hex app.bin@0x8000
)";
  text.replace(text.find("@PORTS@"), 7, platform::PortNameHelp());
  return text;
}

std::string CliVersionText() {
  return std::string("vantrel-cli ") + VANTREL_VERSION + "\n";
}

}  // namespace vantrel::cli
