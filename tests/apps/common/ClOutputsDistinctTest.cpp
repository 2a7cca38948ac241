#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/common/ClOutputsDistinct.h"
#include "tests/RecordedMessages.h"
#include "tests/ScratchFolder.h"
#include "toolkit/KtExcept.h"

namespace {

using testtools::takeMessages;

class OutputsDistinctTest : public testtools::ScratchFolderTest {
 protected:
  OutputsDistinctTest() { write("walk.amc", "x\n"); }
};

TEST_F(OutputsDistinctTest, CheckNamesTheFirstOutputThatMeetsAnInputOrAnEarlierOutput) {
  std::string in = path("walk.amc"), mel = path("walk.mel"), mov = path("walk.mov");
  EXPECT_TRUE(ClCheckOutputsDistinct({in.c_str()}, {mel.c_str(), mov.c_str()}));
  EXPECT_FALSE(theExceptObj.exceptionOccurred());

  EXPECT_FALSE(ClCheckOutputsDistinct({in.c_str()}, {mel.c_str(), in.c_str()}));
  EXPECT_EQ(takeMessages(),
            std::vector<std::string>{"The output file \"" + in +
                                     "\" is the same file as the input file \"" + in + "\"."});

  EXPECT_FALSE(ClCheckOutputsDistinct({in.c_str()}, {mel.c_str(), mel.c_str()}));
  EXPECT_EQ(takeMessages(), std::vector<std::string>{"The output files \"" + mel + "\" and \"" +
                                                     mel + "\" are the same file."});
}

TEST_F(OutputsDistinctTest, AnInputMeetsItsOutputsUnderTheNameItIsReadUnderAndDevicesMeetNothing) {
  // A missing take.amc is read as take.amc.gz: the message names the file
  // read.
  write("take.amc.gz", "x\n");
  std::string given = path("take.amc"), read = path("take.amc.gz");
  EXPECT_FALSE(ClCheckOutputsDistinct(std::vector<ClInputPath>{{given.c_str(), read.c_str()}},
                                      {path("t.mel").c_str(), read.c_str()}));
  EXPECT_EQ(takeMessages(),
            std::vector<std::string>{"The output file \"" + read +
                                     "\" is the same file as the input file \"" + read + "\"."});
  EXPECT_FALSE(ClCheckOutputsDistinct(std::vector<ClInputPath>{{given.c_str(), read.c_str()}},
                                      {given.c_str()}));
  EXPECT_EQ(takeMessages(),
            std::vector<std::string>{"The output file \"" + given +
                                     "\" is the same file as the input file \"" + read + "\"."});

  EXPECT_TRUE(ClCheckOutputsDistinct({"/dev/null"}, {"/dev/null", "/dev/null"}));
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
}

}  // namespace
