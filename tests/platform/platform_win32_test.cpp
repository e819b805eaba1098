#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "platform/folder_listing.h"
#include "platform/port_list.h"
#include "platform/replace_file.h"
#include "platform/serial_device.h"
#include "platform/single_instance_win32.h"
#include "platform/utf16_win32.h"
#include "support/temp_folder.h"

namespace vantrel::platform {
namespace {

bool RunningUnderWine() {
  return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(Win32Folder, HiddenAndSystemFilesAreMarkedAndAReplaceKeepsTheMark) {
  testing::TempFolder folder;
  const struct {
    const char* name;
    DWORD attributes;
    bool hidden;
  } cases[] = {
      {"plain.mot", FILE_ATTRIBUTE_NORMAL, false},
      {"hidden.mot", FILE_ATTRIBUTE_HIDDEN, true},
      {"system.mot", FILE_ATTRIBUTE_SYSTEM, true},
  };
  for (const auto& c : cases) {
    const std::string path = folder.Write(c.name, "S9030000FC\r\n");
    ASSERT_TRUE(::SetFileAttributesW(Widen(path).c_str(), c.attributes));
    ASSERT_TRUE(ReplaceFile(path, "S9030000FC\n")) << c.name;
  }
  folder.Write("sub.mot/x.mot", "");
  EXPECT_TRUE(ListFolder(folder.PathOf("missing")).empty());
  const auto entries = ListFolder(folder.path());
  ASSERT_EQ(entries.size(), std::size(cases) + 1) << "a temporary file was left behind";
  EXPECT_TRUE(std::any_of(entries.begin(), entries.end(), [](const FolderEntry& x) {
    return x.name == "sub.mot" && !x.regular && !x.hidden;
  }));
  for (const auto& c : cases) {
    const auto e = std::find_if(entries.begin(), entries.end(),
                                [&](const FolderEntry& x) { return x.name == c.name; });
    ASSERT_NE(e, entries.end()) << c.name;
    EXPECT_EQ(e->hidden, c.hidden) << c.name;
    EXPECT_TRUE(e->regular) << c.name;
  }
}

TEST(Win32Serial, AClosedOrMissingPortNeitherWaitsNorMovesBytes) {
  const auto device = MakeSystemSerialDevice();
  EXPECT_FALSE(device->Exists("NOPORT"));
  EXPECT_FALSE(device->Open("COM98"));
  EXPECT_FALSE(device->IsOpen());
  const DWORD start = ::GetTickCount();
  EXPECT_FALSE(device->WaitForInput(2000));
  EXPECT_LT(::GetTickCount() - start, 1000u) << "a closed port must not wait";
  std::uint8_t byte[1] = {0x55};
  EXPECT_EQ(device->Write(byte), 0u);
  EXPECT_EQ(device->Read(byte), 0u);
  EXPECT_EQ(device->PollHandle(), -1);
}

TEST(Win32PortList, ExistingComPortsInOrderAndOnlyUpToCom20) {
  const auto device = MakeSystemSerialDevice();
  const auto ports = ListSerialPorts();
  unsigned last = 0;
  for (const auto& p : ports) {
    ASSERT_TRUE(p.name.starts_with("COM")) << p.name;
    const unsigned n = static_cast<unsigned>(std::stoul(p.name.substr(3)));
    EXPECT_GT(n, last) << "listed out of order";
    EXPECT_LE(n, 20u);
    EXPECT_EQ(p.device, "\\\\.\\" + p.name);
    last = n;
  }
  for (unsigned n = 1; n <= 20; ++n) {
    const std::string name = "COM" + std::to_string(n);
    const bool listed = std::any_of(ports.begin(), ports.end(),
                                    [&](const SerialPortInfo& p) { return p.name == name; });
    EXPECT_EQ(listed, device->Exists(name)) << name;
  }
  if (RunningUnderWine()) {
    // Wine answers the configuration query for COM1 to COM9 whether or not a device is mapped,
    // and never for COM10 and above: only the order and the range can be seen here.
    std::cout << "under Wine: " << ports.size() << " ports listed (COM1 to COM9 always)\n";
  }
}

// Only a name that is free makes the first copy; one that cannot be made a mutex (here an
// event's) is not taken for free.
TEST(Win32NamedMutex, OnlyAFreeNameMakesTheFirstCopy) {
  const std::string name = "vtl_test_" + std::to_string(::GetCurrentProcessId());
  HANDLE event = ::CreateEventA(nullptr, FALSE, FALSE, (name + "_event").c_str());
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(ClaimNamedMutex(name), MutexClaim::First);
  EXPECT_EQ(ClaimNamedMutex(name), MutexClaim::AnotherRuns);
  EXPECT_EQ(ClaimNamedMutex(name + "_event"), MutexClaim::AnotherRuns);
  ::CloseHandle(event);
}

}  // namespace
}  // namespace vantrel::platform
