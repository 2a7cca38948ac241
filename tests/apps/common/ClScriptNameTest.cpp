#include <gtest/gtest.h>

#include "apps/common/ClScriptName.h"

TEST(ClScriptName, AcceptsLettersDigitsAndUnderscores) {
  EXPECT_TRUE(ClIsScriptName("root"));
  EXPECT_TRUE(ClIsScriptName("L_lfemur"));
  EXPECT_TRUE(ClIsScriptName("_9aZ"));
  EXPECT_TRUE(ClIsScriptName("a0"));
}

TEST(ClScriptName, RefusesANameThatBeginsWithADigit) {
  EXPECT_FALSE(ClIsScriptName("0"));
  EXPECT_FALSE(ClIsScriptName("1_root"));
}

TEST(ClScriptName, RefusesEmptyNamesAndEveryOtherCharacter) {
  EXPECT_FALSE(ClIsScriptName(nullptr));
  EXPECT_FALSE(ClIsScriptName(""));
  EXPECT_FALSE(ClIsScriptName("a;b"));
  EXPECT_FALSE(ClIsScriptName("x\"y"));
  EXPECT_FALSE(ClIsScriptName("a b"));
  EXPECT_FALSE(ClIsScriptName("a-b"));
  EXPECT_FALSE(ClIsScriptName("a.b"));
  EXPECT_FALSE(ClIsScriptName("caf\xc3\xa9"));
  EXPECT_FALSE(ClIsScriptName("tab\t"));
}
