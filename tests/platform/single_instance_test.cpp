#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <atomic>
#include <thread>

#include "support/as_account.h"
#include "support/temp_folder.h"

namespace vantrel::platform {
namespace {

// Each test gets a runtime folder of its own.
class SingleInstanceTest : public ::testing::Test {
 protected:
  SingleInstanceTest() {
    ::chmod(runtime.path().c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  }
  testing::TempFolder runtime;
};

TEST_F(SingleInstanceTest, OneFirstCopyAndAStaleSocketIsNoObstacle) {
  runtime.Write("vtl_app.sock", "left by a copy that crashed");
  std::unique_ptr<FirstCopy> first;
  ASSERT_EQ(FirstCopy::Take("vtl_app", first), FirstCopy::Claim::First);
  std::unique_ptr<FirstCopy> second;
  EXPECT_EQ(FirstCopy::Take("vtl_app", second), FirstCopy::Claim::AnotherRuns);
  EXPECT_EQ(second, nullptr);
  first.reset();  // the lock goes with its holder
  EXPECT_EQ(FirstCopy::Take("vtl_app", second), FirstCopy::Claim::First);
}

TEST_F(SingleInstanceTest, ALaterCopyWaitsUntilItsTextIsHandled) {
  std::unique_ptr<FirstCopy> first;
  ASSERT_EQ(FirstCopy::Take("vtl_app", first), FirstCopy::Claim::First);
  std::atomic<bool> delivered{false};
  std::thread later([&] { delivered = ForwardToFirstCopy("vtl_app", "/w/app.mot", 5000); });
  int fd = -1;
  for (int i = 0; i < 500 && fd < 0; ++i, ::usleep(10000)) fd = first->Accept();
  ASSERT_GE(fd, 0);
  ForwardedText text(fd);
  for (int i = 0; i < 500 && text.ReadSome() == ForwardedText::Progress::Waiting; ++i) {
    ::usleep(10000);
  }
  EXPECT_EQ(text.bytes(), "/w/app.mot");
  EXPECT_FALSE(delivered);  // not before the answer
  text.Acknowledge();
  later.join();
  EXPECT_TRUE(delivered);
}

TEST_F(SingleInstanceTest, NoListenerWithinTheWaitMeansTheTextWasNotTaken) {
  EXPECT_FALSE(ForwardToFirstCopy("vtl_app", "/w/app.mot", 200));
}

TEST_F(SingleInstanceTest, ARuntimeFolderOthersCanEnterIsNotUsed) {
  ::chmod(runtime.path().c_str(), 0755);
  const std::string folder = RuntimeFolder();
  EXPECT_NE(folder, runtime.path());
  struct stat st {};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 077, 0u);
}

TEST(RuntimeFolder, OneMadeUnderTheUsersNameByAnotherUserKeepsOneWindowPerUser) {
  if (::geteuid() != 0) GTEST_SKIP() << "acting as other accounts needs root";
  testing::TempFolder tmp;
  ::chmod(tmp.path().c_str(), 01777);
  const std::string home = tmp.PathOf("home");
  ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
  ASSERT_EQ(::chown(home.c_str(), testing::kFirstAccount, testing::kFirstAccount), 0);
  const std::string taken = tmp.path() + "/vantrel-" + std::to_string(testing::kFirstAccount);
  ASSERT_EQ(::mkdir(taken.c_str(), 0), 0);
  ::chmod(taken.c_str(), 0777);
  ASSERT_EQ(::chown(taken.c_str(), testing::kStranger, testing::kStranger), 0);
  const int claims = testing::AsAccount(testing::kFirstAccount, testing::kFirstAccount, [&] {
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", tmp.path().c_str(), 1);
    ::setenv("HOME", home.c_str(), 1);
    std::unique_ptr<FirstCopy> copy[2];
    return (FirstCopy::Take("vtl_app", copy[0]) == FirstCopy::Claim::First) +
           2 * (FirstCopy::Take("vtl_app", copy[1]) == FirstCopy::Claim::AnotherRuns);
  });
  EXPECT_EQ(claims, 3) << "1: the first copy, 2: a second one that sees it";
}

}  // namespace
}  // namespace vantrel::platform
