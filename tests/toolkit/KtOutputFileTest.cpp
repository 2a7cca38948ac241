#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/ScratchFolder.h"
#include "toolkit/KtOutputFile.h"

namespace {

class OutputFileTest : public ::testing::Test, protected testtools::ScratchFolder {
 protected:
  OutputFileTest() : ScratchFolder("ktoutputfile") {}
  static mode_t modeOf(const std::string& p) {
    struct stat info;
    return stat(p.c_str(), &info) == 0 ? info.st_mode : 0;
  }
};

TEST_F(OutputFileTest, CommitReplacesTheTargetAndKeepsItsMode) {
  write("take.mov", "old\n", 0640);
  KtOutputFile file(path("take.mov").c_str());
  ASSERT_TRUE(file.open());
  const std::string temporary = file.temporaryPath();
  EXPECT_EQ(temporary.rfind(path("take.mov.tmp-"), 0), 0u) << temporary;
  EXPECT_EQ(temporary.size(), path("take.mov.tmp-").size() + 6);
  file.stream() << "new\n";
  file.stream().flush();
  // Until the commit the previous file stands and the new text is elsewhere.
  EXPECT_EQ(contents(path("take.mov")), "old\n");
  EXPECT_EQ(contents(temporary), "new\n");
  EXPECT_TRUE(file.commit());
  EXPECT_EQ(contents(path("take.mov")), "new\n");
  EXPECT_EQ(modeOf(path("take.mov")) & 07777, 0640u);
  EXPECT_EQ(names(), std::set<std::string>{"take.mov"});
}

TEST_F(OutputFileTest, NewFileGetsTheUmaskModeNotAPrivateOne) {
  mode_t saved = umask(022);
  {
    KtOutputFile file(path("new.mel").c_str());
    ASSERT_TRUE(file.open());
    file.stream() << "x";
    EXPECT_TRUE(file.commit());
  }
  umask(027);
  {
    KtOutputFile file(path("other.mel").c_str());
    ASSERT_TRUE(file.open());
    EXPECT_TRUE(file.commit());
  }
  umask(saved);
  EXPECT_EQ(modeOf(path("new.mel")) & 07777, 0644u);
  EXPECT_EQ(modeOf(path("other.mel")) & 07777, 0640u);
}

TEST_F(OutputFileTest, DiscardAndDestructionRemoveTheTemporaryAndLeaveTheTarget) {
  write("take.mov", "old\n");
  {
    KtOutputFile file(path("take.mov").c_str());
    ASSERT_TRUE(file.open());
    file.stream() << "half a fi";
    file.discard();
  }
  {
    KtOutputFile file(path("take.mov").c_str());
    ASSERT_TRUE(file.open());
    file.stream() << std::string(200000, 'x');  // more than the buffer holds
  }
  EXPECT_EQ(contents(path("take.mov")), "old\n");
  EXPECT_EQ(names(), std::set<std::string>{"take.mov"});
}

TEST_F(OutputFileTest, RefusedWriteFailsTheCommitAndRemovesTheTemporary) {
  write("take.mov", "old\n");
  // In a child limited to 1000-byte files: the write beyond fails.
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    KtOutputFile file(path("take.mov").c_str());
    if (!file.open()) _exit(2);
    file.stream() << std::string(5000, 'x');
    _exit(file.commit() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(contents(path("take.mov")), "old\n");
  EXPECT_EQ(names(), std::set<std::string>{"take.mov"});
}

TEST_F(OutputFileTest, SymbolicLinkKeepsPointingAtTheReplacedFile) {
  ASSERT_EQ(mkdir(path("real").c_str(), 0755), 0);
  write("real/take.mov", "old\n", 0600);
  ASSERT_EQ(symlink("real/take.mov", path("link.mov").c_str()), 0);
  ASSERT_EQ(symlink("real/new.mov", path("dangling.mov").c_str()), 0);
  for (const char* name : {"link.mov", "dangling.mov"}) {
    KtOutputFile file(path(name).c_str());
    ASSERT_TRUE(file.open());
    EXPECT_EQ(file.temporaryPath().rfind(path("real/"), 0), 0u) << file.temporaryPath();
    file.stream() << "new\n";
    EXPECT_TRUE(file.commit());
    struct stat info;
    ASSERT_EQ(lstat(path(name).c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << name;
  }
  EXPECT_EQ(contents(path("real/take.mov")), "new\n");
  EXPECT_EQ(modeOf(path("real/take.mov")) & 07777, 0600u);
  EXPECT_EQ(contents(path("real/new.mov")), "new\n");
}

TEST_F(OutputFileTest, FifoAndDevicesAreWrittenDirectly) {
  ASSERT_EQ(mkfifo(path("pipe").c_str(), 0644), 0);
  int reader = ::open(path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  {
    KtOutputFile file(path("pipe").c_str());
    ASSERT_TRUE(file.open());
    EXPECT_EQ(file.temporaryPath(), "");
    file.stream() << "through the pipe\n";
    EXPECT_TRUE(file.commit());
  }
  char buffer[64] = {};
  EXPECT_EQ(read(reader, buffer, sizeof buffer - 1), 17);
  EXPECT_STREQ(buffer, "through the pipe\n");
  close(reader);
  EXPECT_TRUE(S_ISFIFO(modeOf(path("pipe"))));
  EXPECT_EQ(names(), std::set<std::string>{"pipe"});

  KtOutputFile null("/dev/null");
  ASSERT_TRUE(null.open());
  EXPECT_EQ(null.temporaryPath(), "");
  null.stream() << "gone";
  EXPECT_TRUE(null.commit());
  EXPECT_TRUE(S_ISCHR(modeOf("/dev/null")));

  // A device that refuses every write: the failure is reported, not lost.
  if (access("/dev/full", W_OK) == 0) {
    KtOutputFile full("/dev/full");
    ASSERT_TRUE(full.open());
    full.stream() << "x";
    EXPECT_FALSE(full.commit());
  }
}

TEST_F(OutputFileTest, OpenFailsWhereNoTemporaryCanBeCreated) {
  KtOutputFile file(path("missing/take.mov").c_str());
  EXPECT_FALSE(file.open());
  EXPECT_FALSE(file.commit());
}

}  // namespace
