#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "tests/ScratchFolder.h"
#include "toolkit/KtTemporaryFiles.h"

namespace {

class TemporaryFilesTest : public ::testing::Test, protected testtools::ScratchFolder {
 protected:
  TemporaryFilesTest() : ScratchFolder("kttemporaryfiles") {}
};

TEST_F(TemporaryFilesTest, FilesAreNewWithTheUmaskModeAndRemovedUntilForgotten) {
  mode_t saved = umask(027);
  std::vector<std::string> made;
  std::vector<int> slots;
  for (int i = 0; i < 3; ++i) {
    std::string name;
    int slot = -1;
    int fd = KtCreateTemporaryFile(path("take.mov"), &name, &slot);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_EQ(name.rfind(path("take.mov.tmp-"), 0), 0u) << name;
    EXPECT_EQ(name.size(), path("take.mov.tmp-").size() + 6);
    struct stat info;
    ASSERT_EQ(stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    made.push_back(name.substr(dir.size() + 1));
    slots.push_back(slot);
  }
  umask(saved);
  EXPECT_EQ(std::set<std::string>(made.begin(), made.end()).size(), 3u);

  // A file made otherwise is registered as well; one renamed into place is
  // forgotten and stays.
  write("pipe", "");
  int pipeSlot = KtRegisterTemporaryFile(path("pipe").c_str());
  ASSERT_GE(pipeSlot, 0);
  KtForgetTemporaryFile(slots[1]);
  KtRemoveTemporaryFiles();
  EXPECT_EQ(names(), std::set<std::string>{made[1]});
  for (int slot : {slots[0], slots[2], pipeSlot}) KtForgetTemporaryFile(slot);
}

TEST_F(TemporaryFilesTest, TheRegistryHoldsAFixedNumberOfNamesThatNoHandlerCanMissWhileMade) {
  std::vector<int> slots;
  for (int slot = KtRegisterTemporaryFile(path("x").c_str()); slot >= 0;
       slot = KtRegisterTemporaryFile(path("x").c_str()))
    slots.push_back(slot);
  EXPECT_EQ(slots.size(), 64u);
  KtForgetTemporaryFile(slots.back());
  EXPECT_EQ(KtRegisterTemporaryFile(path("y").c_str()), slots.back());
  for (int slot : slots) KtForgetTemporaryFile(slot);
  // A path longer than the system's limit is not registered.
  EXPECT_EQ(KtRegisterTemporaryFile(std::string(5000, 'a').c_str()), -1);
}

}  // namespace
