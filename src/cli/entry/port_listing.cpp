#include "cli/entry/port_listing.h"

namespace vantrel::cli {

std::string FormatPortList(const std::vector<platform::SerialPortInfo>& ports) {
  std::string out = "port\tdevice\tdriver\tvendor\tproduct-id\tmanufacturer\tproduct\tserial\n";
  for (const auto& p : ports) {
    const std::string fields[] = {p.name,      p.device,       p.driver,  p.vendorId,
                                  p.productId, p.manufacturer, p.product, p.serialNumber};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
      std::string field = fields[i].empty() ? "-" : fields[i];
      // A tab or line end inside a value would break the columns.
      for (char& c : field) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
      }
      out += field;
      out += i + 1 < std::size(fields) ? '\t' : '\n';
    }
  }
  return out;
}

}  // namespace vantrel::cli
