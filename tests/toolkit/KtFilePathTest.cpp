#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "toolkit/KtFilePath.h"
#include "toolkit/KtPathCheck.h"

TEST(KtFilePath, DirOfPathDropsOneTrailingSlashAndTheLastName) {
  EXPECT_STREQ(KtFileDirOfPath("a/b/").text(), "a");
  EXPECT_STREQ(KtFileDirOfPath("a/b/c").text(), "a/b");
  EXPECT_STREQ(KtFileDirOfPath("name").text(), "");
  EXPECT_STREQ(KtFileDirOfPath("/x").text(), "");
  EXPECT_STREQ(KtFileDirOfPath("/").text(), "");
  EXPECT_STREQ(KtFileDirOfPath("").text(), "");
  EXPECT_STREQ(KtFileDirOfPath(nullptr).text(), "");
}

TEST(KtFilePath, NameOfPathTakesThePartAfterTheLastSlash) {
  EXPECT_STREQ(KtFileNameOfPath("/d/e/walk.amc").text(), "walk.amc");
  EXPECT_STREQ(KtFileNameOfPath(" d/walk.amc ").text(), "walk.amc");
  EXPECT_STREQ(KtFileNameOfPath(" walk.amc ").text(), " walk.amc ");
  EXPECT_STREQ(KtFileNameOfPath("   ").text(), "");
  EXPECT_STREQ(KtFileNameOfPath(nullptr).text(), "");
}

TEST(KtFilePath, SplitGivesDirectoryBaseAndExtension) {
  KtStr dir, base, ext;
  KtFileSplit("/d/e/name.tar.gz", &dir, &base, &ext);
  EXPECT_STREQ(dir.text(), "/d/e");
  EXPECT_STREQ(base.text(), "name.tar");
  EXPECT_STREQ(ext.text(), "gz");
  KtFileSplit("plain", &dir, &base, &ext);
  EXPECT_STREQ(dir.text(), "");
  EXPECT_STREQ(base.text(), "plain");
  EXPECT_STREQ(ext.text(), "");
  KtFileSplit("x/.hidden", nullptr, &base, &ext);
  EXPECT_STREQ(base.text(), "");
  EXPECT_STREQ(ext.text(), "hidden");
}

TEST(KtFilePath, NonCompressedNameRemovesOnlyExactSuffixes) {
  KtStr suffix = "junk";
  EXPECT_STREQ(KtFileNonCompressedName("take.mov.gz", &suffix).text(), "take.mov");
  EXPECT_STREQ(suffix.text(), ".gz");
  EXPECT_STREQ(KtFileNonCompressedName("take.mov.Z", &suffix).text(), "take.mov");
  EXPECT_STREQ(suffix.text(), ".Z");
  EXPECT_STREQ(KtFileNonCompressedName("take.mov.GZ", &suffix).text(), "take.mov.GZ");
  EXPECT_STREQ(suffix.text(), "");
  EXPECT_STREQ(KtFileNonCompressedName(".Z", &suffix).text(), ".Z");
  EXPECT_STREQ(suffix.text(), "");
  EXPECT_STREQ(KtFileNonCompressedName("a.gz", nullptr).text(), "a");
}

TEST(KtFilePath, CompressedNamesAndCreatedDirectoriesOnDisk) {
  char pattern[] = "/tmp/ktfilepathXXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::string dir = pattern;
  std::string base = dir + "/walk.amc";
  EXPECT_STREQ(KtFileCompressedName(base.c_str()).text(), base.c_str());
  KtPath path(base.c_str());
  EXPECT_FALSE(path.exists(1));
  std::ofstream(base + ".Z") << "z";
  EXPECT_STREQ(KtFileCompressedName(base.c_str()).text(), (base + ".Z").c_str());
  std::ofstream(base + ".gz") << "g";
  EXPECT_STREQ(KtFileCompressedName(base.c_str()).text(), (base + ".gz").c_str());
  EXPECT_FALSE(path.exists(0));
  EXPECT_TRUE(path.exists(1));
  EXPECT_EQ(path.getModTime(0), 0);
  EXPECT_EQ(path.getModTime(1), KtFileModTime((base + ".gz").c_str()));
  EXPECT_GT(path.modTime(), 0);

  // Names with shell characters are created as they are.
  std::string deep = dir + "/a;b/$(touch " + dir + "x)/c d";
  EXPECT_TRUE(KtFileCreateDirectories(deep.c_str()));
  EXPECT_TRUE(KtFileIsDirectory(deep.c_str()));
  EXPECT_FALSE(KtFileExists((dir + "x").c_str()));
  EXPECT_TRUE(KtFileCreateDirectories(deep.c_str()));
  EXPECT_FALSE(KtFileCreateDirectories((base + ".gz").c_str()));
  std::system(("rm -rf '" + dir + "'").c_str());
}
