#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "apps/common/ClStagedOutputFile.h"
#include "tests/RecordedMessages.h"
#include "tests/ScratchFolder.h"
#include "toolkit/KtExcept.h"

namespace {

using testtools::takeMessages;

class StagedOutputFileTest : public testtools::ScratchFolderTest {};

bool beginsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

TEST_F(StagedOutputFileTest, ContentWaitsBesideTheTargetUntilTheStepPutsItInPlace) {
  write("take.mov", "old\n");
  ClStagedOutputFile staged(path("take.mov").c_str());
  ASSERT_NE(staged.stream(), nullptr);
  *staged.stream() << "new\n";
  // Until the step the previous file stands; the content is in one
  // temporary file beside it.
  EXPECT_EQ(contents(path("take.mov")), "old\n");
  std::set<std::string> during = names();
  ASSERT_EQ(during.size(), 2u);
  EXPECT_EQ(during.count("take.mov"), 1u);
  EXPECT_TRUE(beginsWith(*during.rbegin(), "take.mov.tmp-")) << *during.rbegin();

  std::ostringstream progress;
  bool completed = false;
  EXPECT_TRUE(staged.write(progress, [&](std::ostream&) { completed = true; }));
  EXPECT_TRUE(completed);
  EXPECT_EQ(progress.str(), "Writing \"" + path("take.mov") + "\"...done.\n");
  EXPECT_EQ(contents(path("take.mov")), "new\n");
  EXPECT_EQ(names(), std::set<std::string>{"take.mov"});
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
}

TEST_F(StagedOutputFileTest, ContentGivenUpOrFailedLeavesTheTargetAsItWas) {
  write("take.mov", "old\n");
  {
    ClStagedOutputFile staged(path("take.mov").c_str());
    *staged.stream() << "new\n";
    staged.discard();
    EXPECT_EQ(names(), std::set<std::string>{"take.mov"});
  }
  {
    // The object going before the step gives the content up as well.
    ClStagedOutputFile staged(path("take.mov").c_str());
    *staged.stream() << "new\n";
  }
  EXPECT_EQ(names(), std::set<std::string>{"take.mov"});

  ClStagedOutputFile staged(path("take.mov").c_str());
  *staged.stream() << "half";
  std::ostringstream progress;
  EXPECT_FALSE(staged.write(progress, [](std::ostream&) { KtError("Frame 3 failed."); }));
  EXPECT_EQ(progress.str(), "Writing \"" + path("take.mov") + "\"...done.\n");
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"Unable to save \"" + path("take.mov") + "\".",
                                      "Frame 3 failed."}));
  EXPECT_EQ(contents(path("take.mov")), "old\n");
  EXPECT_EQ(names(), std::set<std::string>{"take.mov"});
}

TEST_F(StagedOutputFileTest, ADeviceTakesItsContentFromAScratchFileNamedAfterIt) {
  const char* saved = std::getenv("TMPDIR");
  const std::string savedTmp = saved ? saved : "";
  setenv("TMPDIR", dir.c_str(), 1);
  {
    ClStagedOutputFile staged("/dev/null");
    ASSERT_NE(staged.stream(), nullptr);
    *staged.stream() << "gone\n";
    std::set<std::string> during = names();
    ASSERT_EQ(during.size(), 1u);
    const std::string scratch = "null.tmp-";
    EXPECT_TRUE(beginsWith(*during.begin(), scratch)) << *during.begin();

    std::ostringstream progress;
    EXPECT_TRUE(staged.write(progress, [](std::ostream&) {}));
    EXPECT_EQ(progress.str(), "Writing \"/dev/null\"...done.\n");
    EXPECT_EQ(names(), std::set<std::string>{});
  }
  if (saved)
    setenv("TMPDIR", savedTmp.c_str(), 1);
  else
    unsetenv("TMPDIR");
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
}

}  // namespace
