#include "cli/board/failure_hint.h"

#include "core/format.h"
#include "platform/serial_device.h"

namespace vantrel::cli {

namespace {

// What a path that is no port is, by the type letter of its mode.
std::string KindOf(const std::string& mode) {
  switch (mode.empty() ? '-' : mode.front()) {
    case 'd':
      return "a folder";
    case 'b':
      return "a block device";
    case 'p':
      return "a pipe";
    case 's':
      return "a socket";
    default:
      return "a file";
  }
}

// No group reaches a device whose mode keeps the group out, and joining root's own group would
// give far more than a port: the device needs a group of its own, which only a udev rule makes
// last across replugging.
std::string NeedsAGroup(const std::string& user) {
  return "a udev rule that gives the device a serial-port group and mode 0660 (GROUP=\"dialout\", "
         "MODE=\"0660\") does, with " +
         user + " in that group";
}

std::string PermissionHint(const platform::PortDiagnosis& d, const std::string& name) {
  using Membership = platform::PortDiagnosis::Membership;
  const std::string start = "hint: no permission to use " + name + " (owner " + d.owner +
                            ", group " + d.group + ", " + d.mode + "): ";
  const bool groupMayUse = d.mode.size() == 10 && d.mode[4] == 'r' && d.mode[5] == 'w';
  if (d.owner == d.user) {
    return start + d.user +
           " owns it, but its mode does not give its owner read and write; chmod u+rw " + d.device;
  }
  if (!groupMayUse) {
    return start + "its mode lets its owner " + d.owner +
           " alone read and write it, so no group helps; " + NeedsAGroup(d.user);
  }
  // Linux names group 0 root; nobody should join it to reach a port.
  if (d.group == "root") {
    return start + "its group is root, which no user should join; " + NeedsAGroup(d.user);
  }
  switch (d.membership) {
    case Membership::NotListed:
      return start + "add " + d.user + " to the group '" + d.group + "' (sudo usermod -aG " +
             d.group + " " + d.user + ") and log in again";
    case Membership::ListedButNotThisLogin:
      return start + d.user + " is in the group '" + d.group +
             "', but this login began before that; log in again (or run newgrp " + d.group + ")";
    case Membership::Member:
      break;
  }
  return start + d.user + " is in the group '" + d.group +
         "', which may read and write it, yet the system refuses; an access list (getfacl " +
         d.device + ") or a security policy forbids it";
}

}  // namespace

std::string PortOpenHint(const platform::PortDiagnosis& d, std::string_view port) {
  const std::string name(port);
  using Problem = platform::PortDiagnosis::Problem;
  switch (d.problem) {
    case Problem::Missing:
      return "hint: " + name + " does not exist; vantrel-cli --list-ports shows the serial ports";
    case Problem::NotADevice:
      return "hint: " + name + " is " + KindOf(d.mode) + " (" + d.mode +
             "), not a character device, so no serial port; vantrel-cli --list-ports shows the "
             "serial ports";
    case Problem::NoPermission:
      return PermissionHint(d, name);
    case Problem::Busy: {
      std::string who;
      for (const auto& h : d.holders) {
        if (!who.empty()) who += ", ";
        who += std::to_string(h.pid) + " (" + h.name + ")";
      }
      return "hint: " + name + " is in use by process " + who + "; end it or choose another port";
    }
    case Problem::None:
      break;
  }
  std::string hint = "hint: " + name +
                     " could not be opened or set up; is it a serial port that takes this baud "
                     "rate, and free?";
  if (d.unseenProcesses > 0) {
    hint += " Processes of other users may hold it unseen (" + std::to_string(d.unseenProcesses) +
            " could not be looked into): sudo fuser -v " + d.device + " names them";
  }
  return hint;
}

std::string LatencyTimerHint(const std::optional<platform::LatencyTimer>& timer,
                             std::string_view port) {
  if (!timer || timer->ms <= 1) return {};
  return "hint: the adapter of " + std::string(port) + " holds received bytes up to " +
         std::to_string(timer->ms) +
         " ms before it passes them on, which every block waits for; 1 ms is faster: echo 1 | "
         "sudo tee " +
         timer->path + " (a udev rule with ATTR{latency_timer}=\"1\" keeps it)";
}

std::string FailureHint(const JobFailureEvent& failure, const HintContext& context) {
  const JobFailure kind = failure.failure;
  if (context.lineLost) {
    return "hint: the line to " + context.port +
           " was lost: the adapter was disconnected or stopped taking bytes; check the cable and "
           "the USB connection, and that " +
           context.port + " is still its name (vantrel-cli --list-ports)";
  }
  if (kind == JobFailure::PortNotOpened) {
    std::string hint = PortOpenHint(platform::DiagnosePort(context.port), context.port);
    if (context.portJobFile.empty()) return hint;
    hint += "; " + context.port + " came from ComPortNo in " + context.portJobFile;
    const std::string device = platform::ResolvePortName(context.port);
    // Where a COM name is the system's own name, there is nothing to translate.
    if (device != context.port && !device.starts_with("\\\\")) {
      hint += ", and " + context.port + " is " + device + " on this system";
    }
    return hint + ": --port names another";
  }
  // After a port that did not open, the port's own hint has said it all.
  if (kind == JobFailure::NoBitRateSync && context.portOpen) {
    return "hint: no answer to the bit-rate adjustment: is the board reset into its serial boot "
           "mode, connected to " +
           context.port + ", and does Baud (B) " + context.baudBoot + " suit it?";
  }
  if (kind == JobFailure::WriteFailed && failure.firstBlock) {
    return "hint: no answer to the first block after the switch to Baud (P) " + context.baudProg +
           ": does the board's programming rate match it (BaudP in Baud.ini, --baud-prog)?";
  }
  if (kind == JobFailure::VerifyAnswerHeader) {
    return "hint: the number above is the position of the first byte of the board's read answer "
           "that was not as expected: 0 its code 52, 1 to 4 its length, which must be the block "
           "size (BlockSize in Baud.ini)";
  }
  if (kind == JobFailure::VerifyMismatch && failure.address) {
    return "hint: the first byte read back that differs from the program is at " +
           Format("0x%08X", static_cast<unsigned>(*failure.address));
  }
  return {};
}

}  // namespace vantrel::cli
