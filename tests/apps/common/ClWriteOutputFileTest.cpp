#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "apps/common/ClWriteOutputFile.h"
#include "tests/RecordedMessages.h"
#include "tests/ScratchFolder.h"
#include "toolkit/KtExcept.h"

namespace {

using testtools::takeMessages;

class WriteOutputFileTest : public testtools::ScratchFolderTest {};

TEST_F(WriteOutputFileTest, StepPrintsProgressAndRecordsTheMessagesOfEachFailure) {
  write("take.mov", "old\n");
  std::ostringstream progress;
  EXPECT_TRUE(ClWriteOutputFile(
      path("take.mov").c_str(), [](std::ostream& out) { out << "new\n"; }, progress));
  EXPECT_EQ(progress.str(), "Writing \"" + path("take.mov") + "\"...done.\n");
  EXPECT_EQ(contents(path("take.mov")), "new\n");
  EXPECT_FALSE(theExceptObj.exceptionOccurred());

  // The content's own error: the previous file stays, no temporary is left.
  progress.str("");
  EXPECT_FALSE(ClWriteOutputFile(
      path("take.mov").c_str(),
      [](std::ostream& out) {
        out << "half";
        KtError("Content failed.");
      },
      progress));
  EXPECT_EQ(progress.str(), "Writing \"" + path("take.mov") + "\"...done.\n");
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"Unable to save \"" + path("take.mov") + "\".",
                                      "Content failed."}));
  EXPECT_EQ(contents(path("take.mov")), "new\n");
  EXPECT_EQ(names(), std::set<std::string>{"take.mov"});

  // A file whose directory is missing.
  progress.str("");
  EXPECT_FALSE(ClWriteOutputFile(
      path("missing/take.mov").c_str(), [](std::ostream& out) { out << "x"; }, progress));
  EXPECT_EQ(progress.str(), "");  // the write-access check refused it first
  std::vector<std::string> messages = takeMessages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages[0], "File \"" + path("missing/take.mov") + "\" is unwritable.");

  if (access("/dev/full", W_OK) == 0) {
    progress.str("");
    EXPECT_FALSE(ClWriteOutputFile(
        "/dev/full", [](std::ostream& out) { out << "x"; }, progress));
    EXPECT_EQ(progress.str(), "Writing \"/dev/full\"...done.\n");
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Unable to save \"/dev/full\".",
                                                        "Unable to write to \"/dev/full\".",
                                                        "No space left on device"}));
  }
}

TEST_F(WriteOutputFileTest, HeldFileAppearsOnlyWhenInstalled) {
  write("walk.mel", "old\n");
  std::ostringstream progress;
  std::unique_ptr<KtOutputFile> held = ClWriteOutputFileHeld(
      path("walk.mel").c_str(), [](std::ostream& out) { out << "new\n"; }, progress);
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(progress.str(), "Writing \"" + path("walk.mel") + "\"...done.\n");
  EXPECT_EQ(contents(path("walk.mel")), "old\n");
  EXPECT_TRUE(ClInstallOutputFile(*held, path("walk.mel").c_str()));
  EXPECT_EQ(contents(path("walk.mel")), "new\n");
  EXPECT_EQ(names(), std::set<std::string>{"walk.mel"});

  // Destroyed before it is installed: the previous file stays.
  held = ClWriteOutputFileHeld(
      path("walk.mel").c_str(), [](std::ostream& out) { out << "newer\n"; }, progress);
  ASSERT_NE(held, nullptr);
  held.reset();
  EXPECT_EQ(contents(path("walk.mel")), "new\n");
  EXPECT_EQ(names(), std::set<std::string>{"walk.mel"});
  EXPECT_FALSE(theExceptObj.exceptionOccurred());

  // A held file that can no longer be put in place (its target became a
  // folder) is refused by the check before anything is put in place, with
  // the rename it foresees and the system's reason.
  held = ClWriteOutputFileHeld(
      path("walk.mel").c_str(), [](std::ostream& out) { out << "newest\n"; }, progress);
  ASSERT_NE(held, nullptr);
  ASSERT_EQ(unlink(path("walk.mel").c_str()), 0);
  ASSERT_EQ(mkdir(path("walk.mel").c_str(), 0755), 0);
  EXPECT_FALSE(ClCheckOutputInstallable(*held, path("walk.mel").c_str()));
  const std::vector<std::string> refused = {
      "Unable to save \"" + path("walk.mel") + "\".",
      "Unable to rename the temporary file to \"" + path("walk.mel") + "\".", "Is a directory"};
  EXPECT_EQ(takeMessages(), refused);
  EXPECT_FALSE(ClInstallOutputFile(*held, path("walk.mel").c_str()));
  EXPECT_EQ(takeMessages(), refused);
  held.reset();
  EXPECT_EQ(names(), std::set<std::string>{"walk.mel"});
}

}  // namespace
