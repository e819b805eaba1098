#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "platform/folder_listing.h"
#include "platform/latency_timer.h"
#include "platform/port_list.h"
#include "support/temp_folder.h"

namespace vantrel::platform {
namespace {

namespace fs = std::filesystem;

// A sysfs as the kernel lays it out: class/tty entries link to their device, USB devices carry
// their ids a few folders above the tty.
class FakeSysfs {
 public:
  void Uart(int index, const char* type) {
    const std::string tty = "ttyS" + std::to_string(index);
    dir_.Write("devices/platform/serial8250/" + tty + "/type", std::string(type) + "\n");
    Link("devices/platform/serial8250/" + tty, "class/tty/" + tty);
    dir_.Write("bus/platform/drivers/serial8250/.keep", "");
    Link("bus/platform/drivers/serial8250",
         "devices/platform/serial8250/" + tty + "/device/driver");
    fs::create_directories(dir_.PathOf("devices/platform/serial8250/" + tty + "/device"));
  }
  void Usb(const std::string& tty, const std::string& driver, const std::string& serial) {
    const std::string dev = "devices/pci0000:00/usb1/1-1";
    dir_.Write(dev + "/idVendor", "0403\n");
    dir_.Write(dev + "/idProduct", "6001\n");
    dir_.Write(dev + "/manufacturer", "Maker\n");
    dir_.Write(dev + "/product", "Serial Cable\n");
    dir_.Write(dev + "/serial", serial + "\n");
    const std::string iface = dev + "/1-1:1.0/" + tty;
    dir_.Write("bus/usb-serial/drivers/" + driver + "/.keep", "");
    fs::create_directories(dir_.PathOf(iface + "/tty/" + tty));
    Link(iface, "class/tty/" + tty + "/device");
    Link("bus/usb-serial/drivers/" + driver, iface + "/driver");
  }
  std::string root() const { return dir_.path(); }
  void Write(const std::string& name, const std::string& text) { dir_.Write(name, text); }
  void Link(const std::string& target, const std::string& link) {
    fs::create_directories(fs::path(dir_.PathOf(link)).parent_path());
    fs::create_symlink(dir_.PathOf(target), dir_.PathOf(link));
  }

 private:
  testing::TempFolder dir_;
};

TEST(PortList, BuiltInUartsThenUsbDevicesWithWhatTheSystemKnows) {
  FakeSysfs sys;
  sys.Uart(0, "4");
  sys.Uart(1, "0");  // a node without a UART behind it
  sys.Uart(2, "4");
  sys.Uart(20, "4");  // COM21: never listed
  sys.Usb("ttyUSB10", "ftdi_sio", "A1");
  sys.Usb("ttyUSB2", "ftdi_sio", "B2");

  const auto ports = ListSerialPorts(sys.root());
  std::vector<std::string> names;
  for (const auto& p : ports) names.push_back(p.name);
  EXPECT_EQ(names, (std::vector<std::string>{"COM1", "COM3", "/dev/ttyUSB2", "/dev/ttyUSB10"}));
  ASSERT_EQ(ports.size(), 4u);
  EXPECT_EQ(ports[0].device, "/dev/ttyS0");
  EXPECT_EQ(ports[0].driver, "serial8250");
  EXPECT_EQ(ports[0].vendorId, "");
  EXPECT_EQ(ports[2].driver, "ftdi_sio");
  EXPECT_EQ(ports[2].vendorId, "0403");
  EXPECT_EQ(ports[2].productId, "6001");
  EXPECT_EQ(ports[2].manufacturer, "Maker");
  EXPECT_EQ(ports[2].product, "Serial Cable");
  EXPECT_EQ(ports[2].serialNumber, "B2");
}

TEST(PortList, NoSerialDevicesGiveAnEmptyList) {
  testing::TempFolder empty;
  EXPECT_TRUE(ListSerialPorts(empty.path()).empty());
}

// The tty's device folder and the two above it may hold the timer; a link names the port.
TEST(LatencyTimer, FoundOnTheTtysDeviceOrUpToTwoFoldersAbove) {
  const std::string tty = "devices/pci0000:00/usb1/1-1/1-1:1.0/ttyUSB3/";
  // Where the file is from the tty's device folder, what it holds, what is found.
  const std::tuple<std::string, std::string, std::optional<std::uint32_t>> cases[] = {
      {".", "16", 16},        {"..", "1", 1},    {"../..", "2", 2},
      {"../../..", "16", {}}, {".", "fast", {}}, {"(none)", "", {}}};
  for (const auto& [where, text, ms] : cases) {
    FakeSysfs sys;
    sys.Usb("ttyUSB3", "usbserial", "A1");
    if (where != "(none)") sys.Write(tty + where + "/latency_timer", text + "\n");
    sys.Write("dev/ttyUSB3", "");
    sys.Link("dev/ttyUSB3", "dev/by-id/usb-if00");
    const auto timer = FindLatencyTimer(sys.root() + "/dev/by-id/usb-if00", sys.root());
    ASSERT_EQ(timer.has_value(), ms.has_value()) << where << " " << text;
    if (timer) {
      EXPECT_EQ(std::pair(timer->ms, fs::canonical(timer->path)),
                std::pair(*ms, fs::canonical(sys.root() + "/" + tty + where + "/latency_timer")));
    }
  }
}

TEST(FolderListing, TellsOrdinaryFilesFromFoldersAndHiddenOnes) {
  testing::TempFolder dir;
  dir.Write("a.mot", "");
  dir.Write(".hidden.mot", "");
  dir.Write("sub.mot/x", "");
  fs::create_symlink(dir.PathOf("a.mot"), dir.PathOf("link.mot"));
  auto entries = ListFolder(dir.path());
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, ".hidden.mot");
  EXPECT_TRUE(entries[0].hidden);
  EXPECT_TRUE(entries[1].regular);   // a.mot
  EXPECT_TRUE(entries[2].regular);   // link.mot
  EXPECT_FALSE(entries[3].regular);  // sub.mot
  EXPECT_TRUE(ListFolder(dir.PathOf("missing")).empty());
}

}  // namespace
}  // namespace vantrel::platform
