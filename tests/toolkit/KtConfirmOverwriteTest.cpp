#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "toolkit/KtConfirmOverwrite.h"

namespace {

std::string makeExistingFile() {
  char name[] = "/tmp/ktconfirmXXXXXX";
  int fd = mkstemp(name);
  EXPECT_GE(fd, 0);
  close(fd);
  return name;
}

}  // namespace

TEST(KtConfirmOverwrite, ProceedsSilentlyWhenNothingExists) {
  std::istringstream in("n");
  std::ostringstream out;
  EXPECT_TRUE(KtConfirmOverwrite("/tmp/no/such/dir/file.mel", "' exists..", in, out));
  EXPECT_EQ(out.str(), "");
}

TEST(KtConfirmOverwrite, RepeatsOnOtherCharactersAndHonoursTheAnswer) {
  std::string path = makeExistingFile();
  {
    std::istringstream in("  x\n  n");
    std::ostringstream out;
    EXPECT_FALSE(KtConfirmOverwrite(path.c_str(), "' exists..", in, out));
    EXPECT_EQ(out.str(),
              "\nOutput file '" + path + "' exists..\nOverwrite? [Y/N] Overwrite? [Y/N] ");
  }
  {
    std::istringstream in("Y");
    std::ostringstream out;
    EXPECT_TRUE(KtConfirmOverwrite(path.c_str(), "' exists.", in, out));
    EXPECT_EQ(out.str(), "\nOutput file '" + path + "' exists.\nOverwrite? [Y/N] ");
  }
  {
    std::istringstream in("ab y");
    std::ostringstream out;
    EXPECT_TRUE(KtConfirmOverwrite(path.c_str(), "' exists.", in, out));
  }
  std::remove(path.c_str());
}

TEST(KtConfirmOverwrite, EndOfInputIsARefusal) {
  std::string path = makeExistingFile();
  std::istringstream in("q  \n");
  std::ostringstream out;
  EXPECT_FALSE(KtConfirmOverwrite(path.c_str(), "' exists..", in, out));
  EXPECT_EQ(out.str(), "\nOutput file '" + path + "' exists..\nOverwrite? [Y/N] Overwrite? [Y/N] ");
  std::remove(path.c_str());
}

TEST(KtConfirmOverwrite, ADirectoryCountsAsExisting) {
  std::istringstream in("n");
  std::ostringstream out;
  EXPECT_FALSE(KtConfirmOverwrite("/tmp", "' exists..", in, out));
  EXPECT_EQ(out.str(), "\nOutput file '/tmp' exists..\nOverwrite? [Y/N] ");
}
