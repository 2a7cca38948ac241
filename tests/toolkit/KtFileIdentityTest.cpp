#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

TEST_F(FileIdentityTest, NewFilesAreOneFileThroughALinkedFolder) {
  ASSERT_EQ(symlink("sub", path("alias").c_str()), 0);
  EXPECT_TRUE(KtFileIsSameFile(path("alias/new.mov").c_str(), path("sub/new.mov").c_str()));
  EXPECT_FALSE(KtFileIsSameFile(path("alias/new.mov").c_str(), path("sub/new.mel").c_str()));
  // A dangling link into the linked folder names the same new file.
  ASSERT_EQ(symlink("alias/new.mov", path("later.mov").c_str()), 0);
  EXPECT_TRUE(KtFileIsSameFile(path("later.mov").c_str(), path("sub/new.mov").c_str()));
}

TEST_F(FileIdentityTest, NewFilesAreOneFileThroughABindMount) {
  // Two paths to one folder that no link resolution finds: only the
  // folder's device and inode tell.
  ASSERT_EQ(mkdir(path("mounted").c_str(), 0755), 0);
  if (mount(path("sub").c_str(), path("mounted").c_str(), nullptr, MS_BIND, nullptr) != 0)
    GTEST_SKIP() << "cannot bind-mount a folder here: " << std::strerror(errno);
  bool same = KtFileIsSameFile(path("mounted/new.mov").c_str(), path("sub/new.mov").c_str());
  bool other = KtFileIsSameFile(path("mounted/new.mov").c_str(), path("new.mov").c_str());
  umount(path("mounted").c_str());
  EXPECT_TRUE(same);
  EXPECT_FALSE(other);
}

TEST_F(FileIdentityTest, NamesThatDifferInCaseAreOneFileOnlyWhereTheFolderFoldsCase) {
  // This folder holds files whose names have letters: looking one up with
  // the case turned tells whether the folder folds case.
  KtCaseFolding folding = KtDirectoryCaseFolding(dir.c_str());
  ASSERT_NE(folding, KtCaseFolding::Unknown);
  EXPECT_EQ(KtFileIsSameFile(path("Take.MEL").c_str(), path("take.mel").c_str()),
            folding == KtCaseFolding::Folds);
  // A folder that holds two names differing only in case keeps case.
  write("sub/a", "1");
  if (access(path("sub/A").c_str(), F_OK) != 0) {
    write("sub/A", "2");
    EXPECT_EQ(KtDirectoryCaseFolding(path("sub").c_str()), KtCaseFolding::Keeps);
  }
  // An empty folder shows nothing, unless the system marks it.
  ASSERT_EQ(mkdir(path("empty").c_str(), 0755), 0);
  KtCaseFolding empty = KtDirectoryCaseFolding(path("empty").c_str());
  EXPECT_TRUE(empty == KtCaseFolding::Unknown || empty == folding);
  if (empty == KtCaseFolding::Unknown) {
    EXPECT_FALSE(KtFileIsSameFile(path("empty/Take.MEL").c_str(), path("empty/take.mel").c_str()));
  }
}

}  // namespace
