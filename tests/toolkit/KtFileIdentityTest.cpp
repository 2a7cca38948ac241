#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "toolkit/KtExcept.h"
#include "toolkit/KtFileIdentity.h"

namespace {

class FileIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ktfileidentityXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    ASSERT_EQ(mkdir(p("sub").c_str(), 0755), 0);
    std::ofstream(p("walk.amc")) << "x\n";
    std::ofstream(p("other.amc")) << "x\n";
    theExceptObj.clear();
  }
  void TearDown() override {
    theExceptObj.clear();
    std::system(("rm -rf '" + dir + "'").c_str());
  }
  std::string p(const std::string& name) const { return dir + "/" + name; }
  std::string dir;
};

TEST_F(FileIdentityTest, ExistingFilesCompareByInodeSoLinksCount) {
  ASSERT_EQ(link(p("walk.amc").c_str(), p("hard.amc").c_str()), 0);
  ASSERT_EQ(symlink("walk.amc", p("soft.amc").c_str()), 0);
  EXPECT_TRUE(KtFileIsSameFile(p("walk.amc").c_str(), p("hard.amc").c_str()));
  EXPECT_TRUE(KtFileIsSameFile(p("soft.amc").c_str(), p("walk.amc").c_str()));
  EXPECT_TRUE(KtFileIsSameFile(p("sub/../walk.amc").c_str(), p("walk.amc").c_str()));
  EXPECT_FALSE(KtFileIsSameFile(p("walk.amc").c_str(), p("other.amc").c_str()));
  // Equal contents are not the same file.
  EXPECT_FALSE(KtFileIsSameFile(p("walk.amc").c_str(), p("sub/walk.amc").c_str()));
}

TEST_F(FileIdentityTest, MissingFilesCompareByNormalisedPath) {
  EXPECT_TRUE(KtFileIsSameFile(p("new.mov").c_str(), p("./sub/../new.mov").c_str()));
  EXPECT_TRUE(KtFileIsSameFile(p("new.mov").c_str(), p("sub//.././new.mov").c_str()));
  EXPECT_FALSE(KtFileIsSameFile(p("new.mov").c_str(), p("sub/new.mov").c_str()));
  EXPECT_FALSE(KtFileIsSameFile(p("new.mov").c_str(), p("new.mel").c_str()));
  // A dangling link names the file it would create.
  ASSERT_EQ(symlink("sub/made.mov", p("dangling.mov").c_str()), 0);
  EXPECT_TRUE(KtFileIsSameFile(p("dangling.mov").c_str(), p("sub/made.mov").c_str()));
  EXPECT_EQ(KtFileFollowLinks(p("dangling.mov").c_str()), p("sub/made.mov"));
  // Relative paths are taken from the current directory.
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  EXPECT_TRUE(KtFileIsSameFile("new.mov", p("new.mov").c_str()));
  EXPECT_TRUE(KtFileIsSameFile("sub/../new.mov", "./new.mov"));
  ASSERT_EQ(chdir(cwd), 0);
}

TEST_F(FileIdentityTest, CheckNamesTheFirstOutputThatMeetsAnInputOrAnEarlierOutput) {
  std::string in = p("walk.amc"), mel = p("walk.mel"), mov = p("walk.mov");
  EXPECT_TRUE(KtPathCheckOutputsDistinct({in.c_str()}, {mel.c_str(), mov.c_str()}));
  EXPECT_FALSE(theExceptObj.exceptionOccurred());

  EXPECT_FALSE(KtPathCheckOutputsDistinct({in.c_str()}, {mel.c_str(), in.c_str()}));
  ASSERT_TRUE(theExceptObj.errorOccurred());
  EXPECT_EQ(std::string(theExceptObj.exception()->message().text()),
            "The output file \"" + in + "\" is the same file as the input file \"" + in + "\".");
  EXPECT_FALSE(theExceptObj.exception()->hasDetail());
  theExceptObj.clear();

  EXPECT_FALSE(KtPathCheckOutputsDistinct({in.c_str()}, {mel.c_str(), mel.c_str()}));
  ASSERT_TRUE(theExceptObj.errorOccurred());
  EXPECT_EQ(std::string(theExceptObj.exception()->message().text()),
            "The output files \"" + mel + "\" and \"" + mel + "\" are the same file.");
}

}  // namespace
