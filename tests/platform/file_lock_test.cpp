#include "platform/file_lock.h"

#include <gtest/gtest.h>

#include "platform/file_access.h"
#include "platform/private_folder.h"

namespace vantrel::platform {
namespace {

TEST(FileLock, ASecondTakerWaitsUntilTheFirstLetsGo) {
  const auto folder = PrivateFolder::Make("vantrel-lock-test");
  ASSERT_TRUE(folder);
  const std::string path = folder->path() + "/serial.txt.lock";
  auto first = FileLock::Take(path, 0);
  ASSERT_TRUE(first);
  EXPECT_FALSE(FileLock::Take(path, 50)) << "two holders at once";
  first.reset();
  EXPECT_TRUE(FileLock::Take(path, 0));
}

TEST(PrivateFolder, GoesWithItsFiles) {
  std::string path;
  {
    const auto folder = PrivateFolder::Make("vantrel-folder-test");
    ASSERT_TRUE(folder);
    path = folder->path();
    std::FILE* file = OpenFileForWriting(path + "/board-1.mot");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
  }
  EXPECT_FALSE(PathExists(path));
}

}  // namespace
}  // namespace vantrel::platform
