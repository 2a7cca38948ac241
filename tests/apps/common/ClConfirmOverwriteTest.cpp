#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "apps/common/ClConfirmOverwrite.h"

namespace {

std::string makeExistingFile() {
  char name[] = "/tmp/clconfirmXXXXXX";
  int fd = mkstemp(name);
  EXPECT_GE(fd, 0);
  close(fd);
  return name;
}

}  // namespace

TEST(ClConfirmOverwrite, ProceedsSilentlyWhenNothingExists) {
  std::istringstream in("n");
  std::ostringstream out;
  EXPECT_TRUE(ClConfirmOverwrite("/tmp/no/such/dir/file.mel", "' exists..", in, out));
  EXPECT_EQ(out.str(), "");
}

TEST(ClConfirmOverwrite, RepeatsOnOtherCharactersAndHonoursTheAnswer) {
  std::string path = makeExistingFile();
  {
    std::istringstream in("  x\n  n");
    std::ostringstream out;
    EXPECT_FALSE(ClConfirmOverwrite(path.c_str(), "' exists..", in, out));
    EXPECT_EQ(out.str(),
              "\nOutput file '" + path + "' exists..\nOverwrite? [Y/N] Overwrite? [Y/N] ");
  }
  {
    std::istringstream in("Y");
    std::ostringstream out;
    EXPECT_TRUE(ClConfirmOverwrite(path.c_str(), "' exists.", in, out));
    EXPECT_EQ(out.str(), "\nOutput file '" + path + "' exists.\nOverwrite? [Y/N] ");
  }
  {
    // A typed word is taken one letter at a time; the third letter decides.
    const std::string three =
        "\nOutput file '" + path + "' exists.\nOverwrite? [Y/N] Overwrite? [Y/N] Overwrite? [Y/N] ";
    std::istringstream yes("aby\n");
    std::ostringstream out;
    EXPECT_TRUE(ClConfirmOverwrite(path.c_str(), "' exists.", yes, out));
    EXPECT_EQ(out.str(), three);
    std::string rest;
    std::getline(yes, rest);
    EXPECT_EQ(rest, "");

    std::istringstream no("xZnyy");
    std::ostringstream out2;
    EXPECT_FALSE(ClConfirmOverwrite(path.c_str(), "' exists.", no, out2));
    EXPECT_EQ(out2.str(), three);
    EXPECT_EQ(no.get(), 'y');  // the rest of the word stays in the input
  }
  std::remove(path.c_str());
}

TEST(ClConfirmOverwrite, EndOfInputIsARefusal) {
  std::string path = makeExistingFile();
  std::istringstream in("q  \n");
  std::ostringstream out;
  EXPECT_FALSE(ClConfirmOverwrite(path.c_str(), "' exists..", in, out));
  EXPECT_EQ(out.str(), "\nOutput file '" + path + "' exists..\nOverwrite? [Y/N] Overwrite? [Y/N] ");
  std::remove(path.c_str());
}

TEST(ClConfirmOverwrite, ADirectoryCountsAsExisting) {
  std::istringstream in("n");
  std::ostringstream out;
  EXPECT_FALSE(ClConfirmOverwrite("/tmp", "' exists..", in, out));
  EXPECT_EQ(out.str(), "\nOutput file '/tmp' exists..\nOverwrite? [Y/N] ");
}
