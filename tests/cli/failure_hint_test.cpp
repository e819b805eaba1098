#include "cli/board/failure_hint.h"

#include <gtest/gtest.h>

#include "cli/board/board_job.h"
#include "cli/entry/port_listing.h"

namespace vantrel::cli {
namespace {

using Problem = platform::PortDiagnosis::Problem;

TEST(PortOpenHint, SaysWhatToDoForEachProblem) {
  struct Case {
    platform::PortDiagnosis diagnosis;
    const char* hint;
  };
  const platform::PortDiagnosis hidden{.device = "/dev/ttyUSB3", .unseenProcesses = 7};
  const Case cases[] = {
      {{.problem = Problem::Missing},
       "hint: /dev/ttyUSB3 does not exist; vantrel-cli --list-ports shows the serial ports"},
      {{.problem = Problem::NotADevice, .mode = "-rw-r--r--"},
       "hint: /dev/ttyUSB3 is a file (-rw-r--r--), not a character device, so no serial port; "
       "vantrel-cli --list-ports shows the serial ports"},
      {{.problem = Problem::NotADevice, .mode = "drwxr-xr-x"},
       "hint: /dev/ttyUSB3 is a folder (drwxr-xr-x), not a character device, so no serial port; "
       "vantrel-cli --list-ports shows the serial ports"},
      {{.problem = Problem::Busy, .holders = {{412, "minicom"}, {977, "screen"}}},
       "hint: /dev/ttyUSB3 is in use by process 412 (minicom), 977 (screen); end it or choose "
       "another port"},
      {{},
       "hint: /dev/ttyUSB3 could not be opened or set up; is it a serial port that takes this "
       "baud rate, and free?"},
      {hidden,
       "hint: /dev/ttyUSB3 could not be opened or set up; is it a serial port that takes this "
       "baud rate, and free? Processes of other users may hold it unseen (7 could not be looked "
       "into): sudo fuser -v /dev/ttyUSB3 names them"}};
  for (const auto& c : cases) EXPECT_EQ(PortOpenHint(c.diagnosis, "/dev/ttyUSB3"), c.hint);
}

// No hint may send a user into a group that cannot help, or into root's.
TEST(PortOpenHint, APortTheUserMayNotUseGetsWhatHelpsItsOwnerGroupAndMode) {
  using M = platform::PortDiagnosis::Membership;
  struct Case {
    const char* owner;
    const char* group;
    const char* mode;
    M membership;
    const char* remedy;  // empty: the owner alone may use it; "...; ": a udev rule follows
  };
  const std::string udev =
      "a udev rule that gives the device a serial-port group and mode 0660 (GROUP=\"dialout\", "
      "MODE=\"0660\") does, with ann in that group";
  const Case cases[] = {
      {"root", "dialout", "crw-rw----", M::NotListed,
       "add ann to the group 'dialout' (sudo usermod -aG dialout ann) and log in again"},
      {"root", "dialout", "crw-rw----", M::ListedButNotThisLogin,
       "ann is in the group 'dialout', but this login began before that; log in again (or run "
       "newgrp dialout)"},
      {"root", "dialout", "crw-rw----", M::Member,
       "ann is in the group 'dialout', which may read and write it, yet the system refuses; an "
       "access list (getfacl /dev/ttyUSB3) or a security policy forbids it"},
      {"root", "root", "crw-------", M::NotListed, ""},
      {"root", "dialout", "crw-r-----", M::Member, ""},
      {"root", "uucp", "crw--w----", M::NotListed, ""},
      {"root", "root", "crw-rw----", M::NotListed,
       "its group is root, which no user should join; "},
      {"ann", "tty", "c---------", M::NotListed,
       "ann owns it, but its mode does not give its owner read and write; chmod u+rw "
       "/dev/ttyUSB3"},
  };
  for (const auto& c : cases) {
    const platform::PortDiagnosis d{.problem = Problem::NoPermission,
                                    .device = "/dev/ttyUSB3",
                                    .owner = c.owner,
                                    .group = c.group,
                                    .mode = c.mode,
                                    .user = "ann",
                                    .membership = c.membership};
    std::string remedy = c.remedy;
    if (remedy.empty()) {
      remedy = "its mode lets its owner root alone read and write it, so no group helps; " + udev;
    } else if (remedy.ends_with("; ")) {
      remedy += udev;
    }
    EXPECT_EQ(PortOpenHint(d, "/dev/ttyUSB3"), "hint: no permission to use /dev/ttyUSB3 (owner " +
                                                   std::string(c.owner) + ", group " + c.group +
                                                   ", " + c.mode + "): " + remedy)
        << c.owner << " " << c.group << " " << c.mode;
  }
}

TEST(FailureHint, NoSyncPointsAtBootModePortAndRateUnlessThePortNeverOpened) {
  const JobFailureEvent noSync{JobFailure::NoBitRateSync};
  EXPECT_EQ(FailureHint(noSync, {"/dev/ttyUSB0", "9600", true}),
            "hint: no answer to the bit-rate adjustment: is the board reset into its serial boot "
            "mode, connected to /dev/ttyUSB0, and does Baud (B) 9600 suit it?");
  EXPECT_EQ(FailureHint(noSync, {"/dev/ttyUSB0", "9600", false}), "");
  EXPECT_EQ(FailureHint({JobFailure::VerifyTimeUp}, {"/dev/ttyUSB0", "9600", true}), "");
  EXPECT_EQ(FailureHint({JobFailure::PortNotOpened}, {"/dev/no-such-port", "9600", false}),
            "hint: /dev/no-such-port does not exist; vantrel-cli --list-ports shows the serial "
            "ports");
  JobFailureEvent write{.failure = JobFailure::WriteFailed, .firstBlock = true};
  EXPECT_EQ(FailureHint(write, {"/dev/ttyUSB0", "9600", true, "57600"}),
            "hint: no answer to the first block after the switch to Baud (P) 57600: does the "
            "board's programming rate match it (BaudP in Baud.ini, --baud-prog)?");
  write.firstBlock = false;
  EXPECT_EQ(FailureHint(write, {"/dev/ttyUSB0", "9600", true, "57600"}), "");
  JobFailureEvent mismatch{.failure = JobFailure::VerifyMismatch};
  EXPECT_EQ(FailureHint(mismatch, {"p", "9600", true, "57600"}), "");
  mismatch.address = 0x1234A;
  EXPECT_EQ(FailureHint(mismatch, {"p", "9600", true, "57600"}),
            "hint: the first byte read back that differs from the program is at 0x0001234A");
  // A dead line is the story whatever the step failed on.
  EXPECT_EQ(FailureHint(mismatch, {.port = "p", .lineLost = true}).substr(0, 30),
            "hint: the line to p was lost: ");
#ifndef _WIN32  // there COMn is the system's own name
  EXPECT_EQ(FailureHint({JobFailure::PortNotOpened}, {.port = "COM99", .portJobFile = "/h/j.ini"}),
            "hint: COM99 does not exist; vantrel-cli --list-ports shows the serial ports; COM99 "
            "came from ComPortNo in /h/j.ini, and COM99 is /dev/ttyS98 on this system: --port "
            "names another");
#endif
}

TEST(CpuInfoFileNames, OneReportPerPortAndNeverTwoOnOneFile) {
  EXPECT_EQ(CpuInfoFileNames({"/dev/ttyUSB0"}), std::vector<std::string>{"CpuInf.txt"});
  EXPECT_EQ(CpuInfoFileNames(
                {"/dev/ttyUSB0", "COM3", "/dev/serial/by-id/usb-A:B", "/dev/pts/2", "pts/2"}),
            (std::vector<std::string>{"CpuInf-ttyUSB0.txt", "CpuInf-COM3.txt",
                                      "CpuInf-serial_by-id_usb-A_B.txt", "CpuInf-pts_2.txt",
                                      "CpuInf-pts_2-5.txt"}));
}

TEST(PortList, HeaderThenOneTabSeparatedLinePerPort) {
  EXPECT_EQ(FormatPortList({}),
            "port\tdevice\tdriver\tvendor\tproduct-id\tmanufacturer\tproduct\tserial\n");
  platform::SerialPortInfo usb{"/dev/ttyUSB0", "/dev/ttyUSB0", "ftdi_sio", "0403",
                               "6001",         "Maker\tCo",    "UART",     ""};
  platform::SerialPortInfo uart{"COM1", "/dev/ttyS0", "serial8250"};
  EXPECT_EQ(FormatPortList({uart, usb}),
            "port\tdevice\tdriver\tvendor\tproduct-id\tmanufacturer\tproduct\tserial\n"
            "COM1\t/dev/ttyS0\tserial8250\t-\t-\t-\t-\t-\n"
            "/dev/ttyUSB0\t/dev/ttyUSB0\tftdi_sio\t0403\t6001\tMaker Co\tUART\t-\n");
}

}  // namespace
}  // namespace vantrel::cli
