#include "cli/failure_hint.h"

#include "core/format.h"

namespace vantrel::cli {

std::string PortOpenHint(const platform::PortDiagnosis& d, std::string_view port) {
  const std::string name(port);
  using Problem = platform::PortDiagnosis::Problem;
  using Membership = platform::PortDiagnosis::Membership;
  const std::string owned = " (owner " + d.owner + ", group " + d.group + ", " + d.mode + ")";
  switch (d.problem) {
    case Problem::Missing:
      return "hint: " + name + " does not exist; vantrel-cli --list-ports shows the serial ports";
    case Problem::NoPermission:
      switch (d.membership) {
        case Membership::NotListed:
          return "hint: no permission to use " + name + owned + ": add " + d.user +
                 " to the group '" + d.group + "' (sudo usermod -aG " + d.group + " " + d.user +
                 ") and log in again";
        case Membership::ListedButNotThisLogin:
          return "hint: no permission to use " + name + owned + ": " + d.user +
                 " is in the group '" + d.group +
                 "', but this login began before that; log in again (or run newgrp " + d.group +
                 ")";
        case Membership::Member:
          return "hint: no permission to use " + name + owned + ": its mode gives the group '" +
                 d.group + "' no read and write; the device's owner must allow it";
      }
      break;
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

std::string FailureHint(FailureKind kind, const HintContext& context) {
  if (kind == FailureKind::PortNotOpened) {
    return PortOpenHint(platform::DiagnosePort(context.port), context.port);
  }
  if (kind == FailureKind::LineLost) {
    return "hint: the line to " + context.port +
           " was lost: the adapter was disconnected or stopped taking bytes; check the cable and "
           "the USB connection, and that " +
           context.port + " is still its name (vantrel-cli --list-ports)";
  }
  // After a port that did not open, the port's own hint has said it all.
  if (kind == FailureKind::NoBitRateSync && context.portOpen) {
    return "hint: no answer to the bit-rate adjustment: is the board reset into its serial boot "
           "mode, connected to " +
           context.port + ", and does Baud (B) " + context.baudBoot + " suit it?";
  }
  if (kind == FailureKind::FirstBlockUnanswered) {
    return "hint: no answer to the first block after the switch to Baud (P) " + context.baudProg +
           ": does the board's programming rate match it (BaudP in Baud.ini, --baud-prog)?";
  }
  if (kind == FailureKind::VerifyAnswerHeader) {
    return "hint: the number above is the position of the first byte of the board's read answer "
           "that was not as expected: 0 its code 52, 1 to 4 its length, which must be the block "
           "size (BlockSize in Baud.ini)";
  }
  if (kind == FailureKind::VerifyMismatch && context.mismatchAddress) {
    return "hint: the first byte read back that differs from the program is at " +
           Format("0x%08X", static_cast<unsigned>(*context.mismatchAddress));
  }
  return {};
}

}  // namespace vantrel::cli
