#include "cli/program/serial_numbers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <thread>

#include "cli/program/serial_format.h"
#include "platform/file_lock.h"
#include "support/as_account.h"
#include "support/case_name.h"
#include "support/temp_folder.h"

namespace vantrel::cli {
namespace {

TEST(SerialBytes, EachFormatAndTheFirstNumberPastIt) {
  const struct {
    const char* format;
    std::uint64_t number;
    std::vector<std::uint8_t> bytes;  // empty: does not fit
  } cases[] = {
      {"le16", 0x1234, {0x34, 0x12}},
      {"be16", 0x1234, {0x12, 0x34}},
      {"le16", 0x10000, {}},
      {"le32", 1000, {0xE8, 0x03, 0, 0}},
      {"be32", 0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF}},
      {"be32", 0x100000000, {}},
      {"le64", 0x0102030405060708, {8, 7, 6, 5, 4, 3, 2, 1}},
      {"be64", 0x0102030405060708, {1, 2, 3, 4, 5, 6, 7, 8}},
      {"ascii:6", 1042, {'0', '0', '1', '0', '4', '2'}},
      {"ascii:3", 999, {'9', '9', '9'}},
      {"ascii:3", 1000, {}},
  };
  for (const auto& c : cases) {
    const auto format = ParseSerialFormat(c.format);
    ASSERT_TRUE(format) << c.format;
    EXPECT_EQ(SerialBytes(c.number, *format), c.bytes) << c.format << " " << c.number;
  }
  for (const char* bad : {"le24", "LE32", "ascii:0", "ascii:21", "ascii:0x5", "ascii"}) {
    EXPECT_FALSE(ParseSerialFormat(bad)) << bad;
  }
}

struct FileCase {
  const char* name;
  std::optional<std::string> before;  // the file's text; nothing: no file yet
  std::uint64_t limit;
  std::vector<std::uint64_t> taken;  // empty: refused
  std::string after;                 // the file's text afterwards, or a part of the reason
};

class SerialFileTest : public ::testing::TestWithParam<FileCase> {};

// Three numbers from 1000 on, 5 apart.
TEST_P(SerialFileTest, TakesThreeNumbers) {
  const FileCase& c = GetParam();
  testing::TempFolder folder;
  const std::string path = folder.PathOf("serial.txt");
  if (c.before) folder.Write("serial.txt", *c.before);
  SerialNumbers numbers(1000, 5, c.limit, path);
  std::string error;
  const auto taken = numbers.Take(3, error);
  if (c.taken.empty()) {
    EXPECT_FALSE(taken);
    EXPECT_NE(error.find(c.after), std::string::npos) << error;
    EXPECT_EQ(folder.Read("serial.txt"), c.before.value_or("")) << "the file is left as it was";
    return;
  }
  ASSERT_TRUE(taken) << error;
  EXPECT_EQ(*taken, c.taken);
  EXPECT_EQ(folder.Read("serial.txt"), c.after);
  // The next run goes on from the file.
  EXPECT_EQ(SerialNumbers(0, 5, c.limit, path).Take(1, error), std::vector{c.taken.back() + 5});
}

INSTANTIATE_TEST_SUITE_P(
    Table, SerialFileTest,
    ::testing::Values(FileCase{"NoFileYet", std::nullopt, 0xFFFF, {1000, 1005, 1010}, "1015\n"},
                      FileCase{"TheFileWins", "42\n", 0xFFFF, {42, 47, 52}, "57\n"},
                      FileCase{"WindowsLineEnd", "42\r\n", 0xFFFF, {42, 47, 52}, "57\n"},
                      FileCase{"Garbage", "42 boards\n", 0xFFFF, {}, "does not hold one decimal"},
                      FileCase{"Empty", "", 0xFFFF, {}, "does not hold one decimal"},
                      FileCase{"RunsOut", "65530\n", 0xFFFF, {}, "65540 does not fit"}),
    testing::CaseName());

TEST(SerialFile, RefusalsNameTheirCause) {
  testing::TempFolder folder;
  folder.Write("serial.txt", "7\n");
  std::filesystem::create_hard_link(folder.PathOf("serial.txt"), folder.PathOf("copy.txt"));
  const std::pair<std::string, std::string> cases[] = {
      {folder.PathOf("none/serial.txt"), "the folder " + folder.PathOf("none") + " does not exist"},
      {folder.PathOf("copy.txt"), "has 2 names (hard links)"},
      {folder.Write("big.txt", "100\n"),
       "le16 (at most 99), counting on from the serial file " + folder.PathOf("big.txt")},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(SerialNumbers(1, 1, 99, c.first, "le16").Take(1, error));
    EXPECT_NE(error.find(c.second), std::string::npos) << error;
  }
}

TEST(SerialFile, AWaitForAnotherStationsLockIsSaidOnceAndStaleTemporariesGo) {
  testing::TempFolder folder;
  const std::string path = folder.PathOf("serial.txt");
  namespace fs = std::filesystem;
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
  for (const char* name : {"serial.txt.Ab3xQ9", "serial.txt.fresh1", "serial.txt.b-k123"}) {
    folder.Write(name, "");
    if (name[11] != 'f') fs::last_write_time(folder.PathOf(name), old);
  }
  auto held = platform::FileLock::Take(path + ".lock", 0);
  ASSERT_TRUE(held);
  std::thread other([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    held.reset();
  });
  SerialNumbers numbers(5, 1, 99, path);
  std::vector<std::string> notices;
  numbers.OnNotice([&](std::string_view line) { notices.emplace_back(line); });
  std::string error;
  EXPECT_EQ(numbers.Take(1, error), std::vector<std::uint64_t>{5}) << error;
  other.join();
  EXPECT_EQ(notices, std::vector<std::string>{
                         "waiting for the serial file's lock, held by another station"});
  EXPECT_FALSE(fs::exists(folder.PathOf("serial.txt.Ab3xQ9"))) << "a killed station's";
  EXPECT_TRUE(fs::exists(folder.PathOf("serial.txt.fresh1")) &&
              fs::exists(folder.PathOf("serial.txt.b-k123")));
}

#ifndef _WIN32
TEST(SerialFile, TwoStationsOneThroughASymbolicLinkGiveTwentyDifferentNumbers) {
  testing::TempFolder folder;
  folder.Write("net/serial.txt", "700\n");
  std::filesystem::create_symlink("net/serial.txt", folder.PathOf("stA.txt"));
  int numbers[2];
  ASSERT_EQ(::pipe(numbers), 0);
  for (const char* station : {"stA.txt", "net/serial.txt"}) {
    if (::fork() != 0) continue;
    SerialNumbers serials(0, 1, 0xFFFF, folder.PathOf(station));
    for (int i = 0; i < 10; ++i) {
      std::string error;
      const std::uint64_t number = serials.Take(1, error).value_or(std::vector{0ul}).front();
      if (::write(numbers[1], &number, sizeof number) != sizeof number) break;
    }
    ::_exit(0);
  }
  ::close(numbers[1]);
  std::set<std::uint64_t> seen;
  for (std::uint64_t n = 0; ::read(numbers[0], &n, sizeof n) == sizeof n;) seen.insert(n);
  ::close(numbers[0]);
  for (int i = 0; i < 2; ++i) ::wait(nullptr);
  EXPECT_EQ(seen.size(), 20u) << "a number given twice";
  EXPECT_EQ(*seen.begin(), 700u) << "or one not given (0)";
  EXPECT_EQ(folder.Read("stA.txt"), "720\n");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.PathOf("stA.txt")));
}

TEST(SerialFile, TwoAccountsOfOneGroupShareItAndAStrangerIsToldNoPermission) {
  if (::geteuid() != 0) GTEST_SKIP() << "acting as other accounts needs root";
  testing::TempFolder folder;
  ::chmod(folder.path().c_str(), 0755);
  const std::string shared = folder.PathOf("line3");
  ASSERT_EQ(::mkdir(shared.c_str(), 0), 0);
  ASSERT_EQ(::chown(shared.c_str(), 0, testing::kSharedGroup), 0);
  ::chmod(shared.c_str(), 02770);
  const auto take = [&] {
    std::string error;
    if (SerialNumbers(100, 1, 999, shared + "/serial.txt").Take(1, error)) return 0;
    return error.find(": no permission") != std::string::npos ? 1 : 2;
  };
  EXPECT_EQ(testing::AsAccount(testing::kFirstAccount, testing::kSharedGroup, take), 0);
  EXPECT_EQ(testing::AsAccount(testing::kSecondAccount, testing::kSharedGroup, take), 0);
  EXPECT_EQ(testing::AsAccount(testing::kStranger, testing::kStranger, take), 1);
  EXPECT_EQ(folder.Read("line3/serial.txt"), "102\n");
  struct stat st {};
  ASSERT_EQ(::stat((shared + "/serial.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0664u) << "the umask 002 decides, and the mode is kept";
}
#endif

}  // namespace
}  // namespace vantrel::cli
