#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "toolkit/KtDirFiles.h"

namespace {

std::vector<std::string> texts(const KtArray<KtStr>& a) {
  std::vector<std::string> out;
  for (const KtStr& s : a) out.push_back(s.text());
  return out;
}

class DirFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ktdirfilesXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
  void touch(const std::string& name, time_t when) {
    std::string path = dir + "/" + name;
    std::ofstream(path) << name;
    struct utimbuf times = {when, when};
    utime(path.c_str(), &times);
  }
  std::string dir;
};

}  // namespace

TEST_F(DirFilesTest, EmptyAndUnreadableDirectoriesGiveNoEntries) {
  EXPECT_EQ(KtDirFiles(dir.c_str(), 1, 0).count(), 0);
  EXPECT_EQ(KtDirFiles((dir + "/missing").c_str(), 1, 1).count(), 0);
}

TEST_F(DirFilesTest, SubdirectoriesAreLeftOutOrKeptAndSortedByName) {
  touch("b.amc", 1000);
  touch("a.asf", 1000);
  mkdir((dir + "/c_takes").c_str(), 0755);
  EXPECT_EQ(texts(KtDirFiles(dir.c_str(), 1, 1)),
            (std::vector<std::string>{"a.asf", "b.amc", "c_takes"}));
  EXPECT_EQ(texts(KtDirFiles(dir.c_str(), 0, 1)), (std::vector<std::string>{"a.asf", "b.amc"}));
  std::vector<std::string> unsorted = texts(KtDirFiles(dir.c_str(), 1, 0));
  EXPECT_EQ(std::set<std::string>(unsorted.begin(), unsorted.end()),
            (std::set<std::string>{"a.asf", "b.amc", "c_takes"}));
}

TEST_F(DirFilesTest, SortingByTimePutsTheNewestFirstAndListsManyEntries) {
  touch("old", 1000);
  touch("newest", 3000);
  touch("middle", 2000);
  EXPECT_EQ(texts(KtDirFiles(dir.c_str(), 1, 2)),
            (std::vector<std::string>{"newest", "middle", "old"}));
  // More entries than one growth step.
  for (int i = 0; i < 120; i++) touch("f" + std::to_string(1000 + i), 5000 + i);
  KtArray<KtStr> all = KtDirFiles(dir.c_str(), 1, 2);
  ASSERT_EQ(all.count(), 123);
  EXPECT_EQ(std::string(all[0].text()), "f1119");
  EXPECT_EQ(std::string(all[122].text()), "old");
}

TEST_F(DirFilesTest, AnUnknownSortSelectorAborts) {
  EXPECT_DEATH(KtDirFiles(dir.c_str(), 1, 3), "Unknown sort by type\\.");
}
