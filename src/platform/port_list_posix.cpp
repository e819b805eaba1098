#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>

#include "platform/port_list.h"
#include "platform/text.h"

namespace vantrel::platform {
namespace {

namespace fs = std::filesystem;

std::string ReadAttribute(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  return std::string(TrimBlanks(line));
}

std::string DriverOf(const fs::path& ttyEntry) {
  std::error_code ec;
  const fs::path target = fs::read_symlink(ttyEntry / "device" / "driver", ec);
  return ec ? std::string() : target.filename().string();
}

// The USB device is the nearest folder above the tty's device that carries idVendor.
void ReadUsbAttributes(const fs::path& ttyEntry, SerialPortInfo& info) {
  std::error_code ec;
  fs::path dir = fs::canonical(ttyEntry / "device", ec);
  if (ec) return;
  for (int depth = 0; depth < 8 && dir.has_relative_path(); ++depth, dir = dir.parent_path()) {
    if (!fs::exists(dir / "idVendor", ec)) continue;
    info.vendorId = ReadAttribute(dir / "idVendor");
    info.productId = ReadAttribute(dir / "idProduct");
    info.manufacturer = ReadAttribute(dir / "manufacturer");
    info.product = ReadAttribute(dir / "product");
    info.serialNumber = ReadAttribute(dir / "serial");
    return;
  }
}

// ttyUSB2 before ttyUSB10.
bool NaturalLess(const std::string& a, const std::string& b) {
  const auto split = [](const std::string& s) {
    std::size_t i = s.size();
    while (i > 0 && s[i - 1] >= '0' && s[i - 1] <= '9') --i;
    const std::uint64_t n = ParseUnsigned(std::string_view(s).substr(i)).value_or(0);
    return std::make_pair(s.substr(0, i), n);
  };
  return split(a) < split(b);
}

}  // namespace

bool UartPresent(std::string_view sysRoot, unsigned comNumber) {
  if (comNumber == 0) return false;
  const fs::path entry = fs::path(sysRoot) / "class/tty" / ("ttyS" + std::to_string(comNumber - 1));
  // The serial core reports type 0 (unknown) for a ttyS node with no UART behind it.
  const std::string type = ReadAttribute(entry / "type");
  return !type.empty() && type != "0";
}

std::vector<SerialPortInfo> ListSerialPorts(std::string_view sysRoot) {
  std::vector<SerialPortInfo> ports;
  const fs::path ttyClass = fs::path(sysRoot) / "class/tty";
  for (unsigned n = 1; n <= 20; ++n) {
    if (!UartPresent(sysRoot, n)) continue;
    const std::string tty = "ttyS" + std::to_string(n - 1);
    SerialPortInfo info;
    info.name = "COM" + std::to_string(n);
    info.device = "/dev/" + tty;
    info.driver = DriverOf(ttyClass / tty);
    ports.push_back(std::move(info));
  }
  for (auto& info : ListAdapterPorts(sysRoot)) ports.push_back(std::move(info));
  return ports;
}

std::vector<SerialPortInfo> ListAdapterPorts(std::string_view sysRoot) {
  std::vector<SerialPortInfo> ports;
  const fs::path ttyClass = fs::path(sysRoot) / "class/tty";
  std::vector<std::string> usb;
  std::error_code ec;
  for (fs::directory_iterator it(ttyClass, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with("ttyUSB") || name.starts_with("ttyACM")) usb.push_back(name);
  }
  std::sort(usb.begin(), usb.end(), NaturalLess);
  for (const auto& tty : usb) {
    SerialPortInfo info;
    info.name = info.device = "/dev/" + tty;
    info.driver = DriverOf(ttyClass / tty);
    ReadUsbAttributes(ttyClass / tty, info);
    ports.push_back(std::move(info));
  }
  return ports;
}

std::vector<SerialPortInfo> ListSerialPorts() {
  return ListSerialPorts("/sys");
}

std::vector<SerialPortInfo> ListAdapterPorts() {
  return ListAdapterPorts("/sys");
}

}  // namespace vantrel::platform
