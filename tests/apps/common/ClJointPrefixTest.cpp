#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/common/ClJointPrefix.h"
#include "tests/RecordedMessages.h"
#include "toolkit/KtExcept.h"

namespace {

using testtools::takeMessages;

std::string text(const KtStr& s) {
  return s.text();
}

}  // namespace

TEST(ClJointPrefix, TheOptionTakesTheNextArgumentWithoutItsBlanksOrRecordsItsAbsence) {
  theExceptObj.clear();
  const char* const argv[] = {"prog", "-p", " L_ \t arm ", "-f", nullptr};
  int i = 1;
  KtStr prefix;
  EXPECT_TRUE(ClTakeJointPrefixOption(4, argv, &i, &prefix));
  EXPECT_EQ(i, 2);
  EXPECT_EQ(text(prefix), "L_arm");
  EXPECT_FALSE(theExceptObj.exceptionOccurred());

  // Whatever the next argument begins with, it is the prefix.
  const char* const dash[] = {"prog", "-f", "-p", "-h", nullptr};
  i = 2;
  EXPECT_TRUE(ClTakeJointPrefixOption(4, dash, &i, &prefix));
  EXPECT_EQ(i, 3);
  EXPECT_EQ(text(prefix), "-h");

  // No argument after "-p": nothing is taken, the refusal is recorded.
  const char* const last[] = {"prog", "-p", nullptr};
  i = 1;
  EXPECT_FALSE(ClTakeJointPrefixOption(2, last, &i, &prefix));
  EXPECT_EQ(i, 1);
  EXPECT_EQ(text(prefix), "-h");
  EXPECT_EQ(takeMessages(), std::vector<std::string>{"Expecting value for -p option."});
}

TEST(ClJointPrefix, APrefixMayBeEmptyOrAScriptNameBeginning) {
  theExceptObj.clear();
  EXPECT_TRUE(ClCheckJointPrefix(KtStr("")));
  EXPECT_TRUE(ClCheckJointPrefix(KtStr("L_")));
  EXPECT_TRUE(ClCheckJointPrefix(KtStr("_9")));
  EXPECT_FALSE(theExceptObj.exceptionOccurred());

  EXPECT_FALSE(ClCheckJointPrefix(KtStr("my-")));
  EXPECT_EQ(takeMessages(),
            std::vector<std::string>{
                "The prefix \"my-\" may hold only ASCII letters, digits and underscores."});
  // A character outside the rule is named before a leading digit.
  EXPECT_FALSE(ClCheckJointPrefix(KtStr("9;")));
  EXPECT_EQ(takeMessages(),
            std::vector<std::string>{
                "The prefix \"9;\" may hold only ASCII letters, digits and underscores."});
  EXPECT_FALSE(ClCheckJointPrefix(KtStr("2nd_")));
  EXPECT_EQ(takeMessages(), std::vector<std::string>{
                                "The prefix \"2nd_\" begins with a digit, but a joint name must "
                                "begin with a letter or an underscore."});
}

TEST(ClJointPrefix, AnUnsafeJointNameIsRecordedWithItsBoneAndTheWholeName) {
  theExceptObj.clear();
  EXPECT_EQ(text(ClJointName(KtStr("L_"), "root")), "L_root");
  ClRecordUnsafeJointName(KtStr("L_"), "arm.1");
  EXPECT_EQ(takeMessages(),
            std::vector<std::string>{"Bone \"arm.1\" gives the joint name \"L_arm.1\", which may "
                                     "hold only ASCII letters, digits and underscores."});
}
