#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/RecordedMessages.h"
#include "tests/ScratchFolder.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtOutputFile.h"

namespace {

using testtools::takeMessages;

// Runs body in a child process and returns its exit status (-1 when it
// did not exit): for what changes the process (its standard output, its
// user, its limits).
template <typename Body>
int inChild(Body body) {
  pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The names a folder holds, "." and ".." left out.
std::set<std::string> entriesOf(const std::string& folder) {
  std::set<std::string> out;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") out.insert(e->d_name);
    closedir(d);
  }
  return out;
}

// An unprivileged user for the child: nobody when the test runs as root.
bool becomeUnprivileged() {
  if (geteuid() != 0) return true;
  return setgid(65534) == 0 && setuid(65534) == 0;
}

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
  // In a child limited to 1000-byte files, which ignores SIGXFSZ as the
  // programs do (the file-size limit would kill it otherwise): the write
  // beyond fails.
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

TEST_F(OutputFileTest, PathsTheKernelResolvesReachTheFileTheyName) {
  // A pipe named through /dev/fd is written directly.
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  {
    KtOutputFile file(("/dev/fd/" + std::to_string(ends[1])).c_str());
    ASSERT_TRUE(file.open());
    EXPECT_EQ(file.route(), KtOutputFile::Route::Direct);
    file.stream() << "through /dev/fd\n";
    EXPECT_TRUE(file.commit());
  }
  close(ends[1]);
  char buffer[64] = {};
  EXPECT_EQ(read(ends[0], buffer, sizeof buffer - 1), 16);
  EXPECT_STREQ(buffer, "through /dev/fd\n");
  close(ends[0]);

  // A regular file named through /dev/fd is replaced beside its own name.
  write("named.mel", "old\n");
  int fd = ::open(path("named.mel").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  {
    KtOutputFile file(("/dev/fd/" + std::to_string(fd)).c_str());
    ASSERT_TRUE(file.open());
    EXPECT_EQ(file.route(), KtOutputFile::Route::Beside);
    EXPECT_EQ(file.temporaryPath().rfind(path("named.mel.tmp-"), 0), 0u) << file.temporaryPath();
    file.stream() << "new\n";
    EXPECT_TRUE(file.commit());
  }
  close(fd);
  EXPECT_EQ(contents(path("named.mel")), "new\n");

  // The regular file that standard output writes gets the content after
  // what standard output wrote, and stays the file it is.
  write("stdout.txt", "");
  struct stat before;
  ASSERT_EQ(stat(path("stdout.txt").c_str(), &before), 0);
  EXPECT_EQ(inChild([&] {
              int out = ::open(path("stdout.txt").c_str(), O_WRONLY);
              if (out < 0 || dup2(out, STDOUT_FILENO) < 0) return 2;
              if (::write(STDOUT_FILENO, "banner\n", 7) != 7) return 3;
              KtOutputFile file("/dev/stdout");
              if (!file.open() || file.route() != KtOutputFile::Route::Direct) return 4;
              file.stream() << "script\n";
              if (!file.commit()) return 5;
              return ::write(STDOUT_FILENO, "done.\n", 6) == 6 ? 0 : 6;
            }),
            0);
  EXPECT_EQ(contents(path("stdout.txt")), "banner\nscript\ndone.\n");
  struct stat after;
  ASSERT_EQ(stat(path("stdout.txt").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(names(), (std::set<std::string>{"named.mel", "stdout.txt"}));
}

TEST_F(OutputFileTest, PathsThatCannotBeWrittenAreRefusedWithTheSystemsReason) {
  theExceptObj.clear();
  ASSERT_EQ(symlink("b.mel", path("a.mel").c_str()), 0);
  ASSERT_EQ(symlink("a.mel", path("b.mel").c_str()), 0);
  ASSERT_EQ(mkdir(path("folder").c_str(), 0755), 0);
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"a.mel", "Too many levels of symbolic links"},
      {"folder", "Is a directory"},
      {"missing/take.mov", "No such file or directory"},
  };
  for (const auto& [name, reason] : refused) {
    KtOutputFile file(path(name).c_str());
    EXPECT_FALSE(file.open()) << name;
    EXPECT_FALSE(file.commit()) << name;
    file.recordFailure();
    EXPECT_EQ(takeMessages(), std::vector<std::string>{reason});
  }
  // The loop stays a loop: nothing was put in its place.
  struct stat info;
  ASSERT_EQ(lstat(path("a.mel").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(names(), (std::set<std::string>{"a.mel", "b.mel", "folder"}));
}

TEST_F(OutputFileTest, FailuresSayWhetherTheWriteOrTheRenameFailed) {
  theExceptObj.clear();
  if (access("/dev/full", W_OK) == 0) {
    KtOutputFile full("/dev/full");
    ASSERT_TRUE(full.open());
    full.stream() << "x";
    EXPECT_FALSE(full.commit());
    full.recordFailure();
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Unable to write to \"/dev/full\".",
                                                        "No space left on device"}));
  }
  // A target that became a folder while its content was written: the check
  // foresees the failed rename, and the rename fails without a trace.
  write("take.mov", "old\n");
  KtOutputFile file(path("take.mov").c_str());
  ASSERT_TRUE(file.open());
  file.stream() << "new\n";
  ASSERT_TRUE(file.finish());
  ASSERT_EQ(unlink(path("take.mov").c_str()), 0);
  ASSERT_EQ(mkdir(path("take.mov").c_str(), 0755), 0);
  const std::vector<std::string> renameFailed = {
      "Unable to rename the temporary file to \"" + path("take.mov") + "\".", "Is a directory"};
  EXPECT_FALSE(file.checkInstall());
  file.recordFailure();
  EXPECT_EQ(takeMessages(), renameFailed);
  EXPECT_FALSE(file.install());
  file.recordFailure();
  EXPECT_EQ(takeMessages(), renameFailed);
  EXPECT_EQ(names(), std::set<std::string>{"take.mov"});
}

TEST_F(OutputFileTest, DeferredContentReachesADeviceOnlyWhenFinished) {
  const char* saved = std::getenv("TMPDIR");
  const std::string savedTmp = saved ? saved : "";
  ASSERT_EQ(mkdir(path("scratch").c_str(), 0700), 0);
  setenv("TMPDIR", path("scratch").c_str(), 1);
  ASSERT_EQ(mkfifo(path("pipe").c_str(), 0644), 0);
  int reader = ::open(path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  {
    KtOutputFile file(path("pipe").c_str());
    ASSERT_TRUE(file.openDeferred());
    EXPECT_EQ(file.route(), KtOutputFile::Route::Direct);
    EXPECT_EQ(file.temporaryPath().rfind(path("scratch/pipe.tmp-"), 0), 0u) << file.temporaryPath();
    file.stream() << "later\n";
    file.stream().flush();
    char nothing[8];
    EXPECT_LT(read(reader, nothing, sizeof nothing), 1);
    EXPECT_TRUE(file.commit());
  }
  char buffer[16] = {};
  EXPECT_EQ(read(reader, buffer, sizeof buffer - 1), 6);
  EXPECT_STREQ(buffer, "later\n");
  close(reader);
  EXPECT_EQ(names(), (std::set<std::string>{"pipe", "scratch"}));
  EXPECT_EQ(entriesOf(path("scratch")), std::set<std::string>{});
  if (saved)
    setenv("TMPDIR", savedTmp.c_str(), 1);
  else
    unsetenv("TMPDIR");
}

TEST_F(OutputFileTest, AFileThatCannotBeReplacedIsWrittenInPlaceOnlyWhenInstalled) {
  // Run by an unprivileged user: a file of a read-only folder, and a file
  // of someone else in a sticky folder, which may be written but not
  // replaced. Their content waits in a scratch file until install().
  ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
  ASSERT_EQ(mkdir(path("scratch").c_str(), 01777), 0);
  ASSERT_EQ(chmod(path("scratch").c_str(), 01777), 0);
  ASSERT_EQ(mkdir(path("ro").c_str(), 0755), 0);
  write("ro/take.mov", "old\n", 0666);
  ASSERT_EQ(link(path("ro/take.mov").c_str(), path("ro/link.mov").c_str()), 0);
  ASSERT_EQ(chmod(path("ro").c_str(), 0555), 0);
  std::vector<std::string> targets = {"ro/take.mov"};
  if (geteuid() == 0) {
    ASSERT_EQ(mkdir(path("st").c_str(), 01777), 0);
    ASSERT_EQ(chmod(path("st").c_str(), 01777), 0);
    write("st/take.mov", "old\n", 0666);
    targets.push_back("st/take.mov");
  }
  for (const std::string& target : targets) {
    SCOPED_TRACE(target);
    struct stat before;
    ASSERT_EQ(stat(path(target).c_str(), &before), 0);
    EXPECT_EQ(inChild([&] {
                if (!becomeUnprivileged()) return 2;
                setenv("TMPDIR", path("scratch").c_str(), 1);
                KtOutputFile file(path(target).c_str());
                if (!file.open() || !file.writesInPlace()) return 3;
                file.stream() << "new\n";
                if (!file.finish() || contents(path(target)) != "old\n") return 4;
                return file.install() ? 0 : 5;
              }),
              0);
    EXPECT_EQ(contents(path(target)), "new\n");
    struct stat after;
    ASSERT_EQ(stat(path(target).c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
  }
  EXPECT_EQ(contents(path("ro/link.mov")), "new\n");
  chmod(path("ro").c_str(), 0755);
  EXPECT_EQ(entriesOf(path("ro")), (std::set<std::string>{"link.mov", "take.mov"}));
  EXPECT_EQ(entriesOf(path("scratch")), std::set<std::string>{});
}

TEST_F(OutputFileTest, FilesMadeWhileAnotherThreadMakesFilesGetTheUmaskMode) {
  // The umask is the process's: a writer that changed it for a moment would
  // give the other thread's files the wrong mode now and then. Both threads
  // make many files, on a memory file system where there is one (syncing
  // costs nothing there).
  std::string many = dir;
  char shm[] = "/dev/shm/ktoutputmodesXXXXXX";
  if (access("/dev/shm", W_OK) == 0 && mkdtemp(shm)) many = shm;
  mode_t saved = umask(022);
  constexpr int kFiles = 20000;
  std::atomic<int> wrongOutputs{0}, wrongPlain{0}, plainMade{0};
  std::atomic<bool> started{false}, outputsDone{false};
  std::thread outputs([&] {
    while (!started) std::this_thread::yield();
    for (int i = 0; i < kFiles; ++i) {
      std::string name = many + "/out" + std::to_string(i);
      KtOutputFile file(name.c_str());
      struct stat info;
      if (!file.open() || !file.commit()) ++wrongOutputs;
      if (stat(name.c_str(), &info) != 0 || (info.st_mode & 07777) != 0644) ++wrongOutputs;
      unlink(name.c_str());
    }
    outputsDone = true;
  });
  // Plain files all the time the other thread works.
  std::thread plain([&] {
    while (!started) std::this_thread::yield();
    for (int i = 0; !outputsDone; ++i, ++plainMade) {
      std::string name = many + "/plain" + std::to_string(i % 64);
      int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
      struct stat info;
      if (fd < 0 || fstat(fd, &info) != 0 || (info.st_mode & 07777) != 0644) ++wrongPlain;
      if (fd >= 0) close(fd);
      unlink(name.c_str());
    }
  });
  started = true;
  outputs.join();
  plain.join();
  umask(saved);
  if (many != dir) rmdir(many.c_str());
  EXPECT_EQ(wrongOutputs.load(), 0);
  EXPECT_EQ(wrongPlain.load(), 0) << "of " << plainMade.load();
}

}  // namespace
