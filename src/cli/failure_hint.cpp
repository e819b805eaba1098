#include "cli/failure_hint.h"

#include "serial/open_port.h"

namespace vantrel::cli {
namespace {

constexpr std::string_view kNoSync = " ビットレートの調整が出来ませんでした ";

}  // namespace

std::string PortOpenHint(const platform::PortDiagnosis& d, std::string_view port) {
  const std::string name(port);
  using Problem = platform::PortDiagnosis::Problem;
  switch (d.problem) {
    case Problem::Missing:
      return "hint: " + name + " does not exist; vantrel-cli --list-ports shows the serial ports";
    case Problem::NoPermission:
      return "hint: no permission to use " + name + ": it belongs to the group '" + d.group +
             "'; add the user to it (usermod -aG " + d.group + " USER) and log in again";
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
  return "hint: " + name +
         " could not be opened or set up; is it a serial port that takes "
         "this baud rate, and free?";
}

std::string FailureHint(std::string_view message, const HintContext& context) {
  if (message == kPortOpenNg)
    return PortOpenHint(platform::DiagnosePort(context.port), context.port);
  // After a port that did not open, the port's own hint has said it all.
  if (message == kNoSync && context.portOpen) {
    return "hint: no answer to the bit-rate adjustment: is the board reset into its serial boot "
           "mode, connected to " +
           context.port + ", and does Baud (B) " + context.baudBoot + " suit it?";
  }
  return {};
}

}  // namespace vantrel::cli
