#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/RecordedMessages.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtPathCheck.h"

namespace {

using testtools::takeMessages;

class PathCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ktpathcheckXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    chmod(dir.c_str(), 0755);
    saved = KtGetBuild();
    theExceptObj.clear();
  }
  void TearDown() override {
    KtSetBuild(saved);
    theExceptObj.clear();
    std::system(("rm -rf '" + dir + "'").c_str());
  }
  std::string touch(const std::string& name, mode_t mode) {
    std::string path = dir + "/" + name;
    std::ofstream(path) << "x\n";
    chmod(path.c_str(), mode);
    return path;
  }
  // Runs check as the unprivileged user in a child; true when it returned true.
  static bool asNobody(const std::function<bool()>& check) {
    pid_t pid = fork();
    if (pid == 0) {
      if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
      _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 3) << "could not drop privileges";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  std::string dir;
  KtBuild saved = KtBuild::Motconv;
};

}  // namespace

TEST_F(PathCheckTest, ReadCheckOfMissingFileNamesItPerBuild) {
  std::string path = dir + "/none.asf";
  KtSetBuild(KtBuild::Motconv);
  EXPECT_FALSE(KtPathCheckReadAccess(path.c_str()));
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"Unable to read \"" + path + "\".", "File does not exist."}));
  KtSetBuild(KtBuild::Skelconv);
  EXPECT_FALSE(KtPathCheckReadAccess(path.c_str()));
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"Unable to open \"" + path + "\".", "File does not exist."}));
}

TEST_F(PathCheckTest, ReadCheckRefusesDirectoriesInBothBuildsAndPassesPlainFiles) {
  KtSetBuild(KtBuild::Skelconv);
  EXPECT_FALSE(KtPathCheckReadAccess(dir.c_str()));
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"Unable to read \"" + dir + "\".", "File is a directory."}));
  std::string file = touch("ok.asf", 0644);
  EXPECT_TRUE(KtPathCheckReadAccess(file.c_str()));
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
}

TEST_F(PathCheckTest, ReadCheckOfUnreadableFileAsksToCheckPermissions) {
  KtSetBuild(KtBuild::Skelconv);
  std::string file = touch("secret.asf", 0200);
  EXPECT_TRUE(asNobody([&] {
    return !KtPathCheckReadAccess(file.c_str()) &&
           takeMessages() ==
               std::vector<std::string>{"Unable to read \"" + file + "\".",
                                        "Insufficient access to read file.  Check permissions."};
  }));
}

TEST_F(PathCheckTest, WriteCheckOfDirectoryAndReadOnlyFile) {
  EXPECT_FALSE(KtPathCheckWriteAccess(dir.c_str()));
  EXPECT_EQ(takeMessages(), (std::vector<std::string>{"File \"" + dir + "\" is unwritable.",
                                                      "File is a directory."}));
  std::string file = touch("ro.mel", 0444);
  EXPECT_TRUE(asNobody([&] {
    return !KtPathCheckWriteAccess(file.c_str()) &&
           takeMessages() ==
               std::vector<std::string>{
                   "File \"" + file + "\" is unwritable.",
                   "Insufficient access to overwrite existing file.  Check permissions."};
  }));
}

TEST_F(PathCheckTest, WriteCheckOfMissingParentsNamesTheDirectoryPart) {
  std::string path = dir + "/a/b/out.mov";
  EXPECT_FALSE(KtPathCheckWriteAccess(path.c_str()));
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"File \"" + path + "\" is unwritable.",
                                      "Parent directory \"" + dir + "/a/b\" does not exist."}));
  EXPECT_TRUE(KtPathCheckWriteAccess((dir + "/new.mov").c_str()));
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
}

TEST_F(PathCheckTest, WriteCheckInUnwritableDirectoryNamesIt) {
  std::string path = dir + "/new.mov";
  chmod(dir.c_str(), 0555);
  EXPECT_TRUE(asNobody([&] {
    return !KtPathCheckWriteAccess(path.c_str()) &&
           takeMessages() == std::vector<std::string>{"File \"" + path + "\" is unwritable.",
                                                      "Insufficient access to create file in \"" +
                                                          dir + "\".  Check permissions."};
  }));
  // Directly under "/": the directory named is "/".
  EXPECT_TRUE(asNobody([&] {
    return !KtPathCheckWriteAccess("/kt-no-such-file.mel") &&
           takeMessages() ==
               std::vector<std::string>{
                   "File \"/kt-no-such-file.mel\" is unwritable.",
                   "Insufficient access to create file in \"/\".  Check permissions."};
  }));
  // A bare name in an unwritable current directory passes: the open fails later.
  EXPECT_TRUE(asNobody([&] {
    return chdir(dir.c_str()) == 0 && KtPathCheckWriteAccess("bare.mel") &&
           !theExceptObj.exceptionOccurred();
  }));
  chmod(dir.c_str(), 0755);
}

TEST_F(PathCheckTest, AccessTestsReportTypeAndPermissions) {
  std::string file = touch("tool", 0755);
  std::string plain = touch("plain", 0644);
  EXPECT_TRUE(KtFileIsDirectory(dir.c_str()));
  EXPECT_FALSE(KtFileIsDirectory(file.c_str()));
  EXPECT_FALSE(KtFileIsDirectory((dir + "/missing").c_str()));
  EXPECT_TRUE(KtFileCanExecute(file.c_str()));
  EXPECT_FALSE(KtFileCanExecute(plain.c_str()));
  EXPECT_FALSE(KtFileCanExecute(dir.c_str()));
  EXPECT_TRUE(KtFileHaveReadAccess(plain.c_str()));
  EXPECT_FALSE(KtFileHaveReadAccess((dir + "/missing").c_str()));
  EXPECT_TRUE(asNobody([&] {
    return !KtFileHaveWriteAccess(plain.c_str()) && !KtFileHaveExecuteAccess(plain.c_str()) &&
           KtFileHaveExecuteAccess(file.c_str());
  }));
  EXPECT_GT(KtFileModTime(plain.c_str()), 0);
  EXPECT_EQ(KtFileModTime((dir + "/missing").c_str()), 0);
}
