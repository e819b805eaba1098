#include "platform/file_lock.h"

#include <gtest/gtest.h>

#include "platform/file_access.h"
#include "platform/private_folder.h"

namespace vantrel::platform {
namespace {

TEST(FileLock, ASecondTakerWaitsUntilTheFirstLetsGo) {
  auto folder = PrivateFolder::Make("vantrel-lock-test");
  ASSERT_TRUE(folder);
  const std::string path = folder->path() + "/serial.txt.lock";
  auto first = FileLock::Take(path, 0);
  ASSERT_TRUE(first);
  EXPECT_FALSE(FileLock::Take(path, 50)) << "two holders at once";
  first.reset();
  EXPECT_TRUE(FileLock::Take(path, 0));
  const std::string kept = folder->path();
  folder.reset();
  EXPECT_FALSE(PathExists(kept)) << "the folder goes with the lock file in it";
}

}  // namespace
}  // namespace vantrel::platform
