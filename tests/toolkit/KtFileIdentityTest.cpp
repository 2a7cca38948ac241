#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/ScratchFolder.h"
#include "toolkit/KtFileIdentity.h"

namespace {

class FileIdentityTest : public ::testing::Test, protected testtools::ScratchFolder {
 protected:
  FileIdentityTest() : ScratchFolder("ktfileidentity") {
    EXPECT_EQ(mkdir(path("sub").c_str(), 0755), 0);
    write("walk.amc", "x\n");
    write("other.amc", "x\n");
  }
};

TEST_F(FileIdentityTest, ExistingFilesCompareByInodeSoLinksCount) {
  ASSERT_EQ(link(path("walk.amc").c_str(), path("hard.amc").c_str()), 0);
  ASSERT_EQ(symlink("walk.amc", path("soft.amc").c_str()), 0);
  EXPECT_TRUE(KtFileIsSameFile(path("walk.amc").c_str(), path("hard.amc").c_str()));
  EXPECT_TRUE(KtFileIsSameFile(path("soft.amc").c_str(), path("walk.amc").c_str()));
  EXPECT_TRUE(KtFileIsSameFile(path("sub/../walk.amc").c_str(), path("walk.amc").c_str()));
  EXPECT_FALSE(KtFileIsSameFile(path("walk.amc").c_str(), path("other.amc").c_str()));
  // Equal contents are not the same file.
  EXPECT_FALSE(KtFileIsSameFile(path("walk.amc").c_str(), path("sub/walk.amc").c_str()));
}

TEST_F(FileIdentityTest, MissingFilesCompareByNormalisedPath) {
  EXPECT_TRUE(KtFileIsSameFile(path("new.mov").c_str(), path("./sub/../new.mov").c_str()));
  EXPECT_TRUE(KtFileIsSameFile(path("new.mov").c_str(), path("sub//.././new.mov").c_str()));
  EXPECT_FALSE(KtFileIsSameFile(path("new.mov").c_str(), path("sub/new.mov").c_str()));
  EXPECT_FALSE(KtFileIsSameFile(path("new.mov").c_str(), path("new.mel").c_str()));
  // A dangling link names the file it would create.
  ASSERT_EQ(symlink("sub/made.mov", path("dangling.mov").c_str()), 0);
  EXPECT_TRUE(KtFileIsSameFile(path("dangling.mov").c_str(), path("sub/made.mov").c_str()));
  EXPECT_EQ(KtFileFollowLinks(path("dangling.mov").c_str()), path("sub/made.mov"));
  // Relative paths are taken from the current directory.
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  EXPECT_TRUE(KtFileIsSameFile("new.mov", path("new.mov").c_str()));
  EXPECT_TRUE(KtFileIsSameFile("sub/../new.mov", "./new.mov"));
  ASSERT_EQ(chdir(cwd), 0);
}

}  // namespace
