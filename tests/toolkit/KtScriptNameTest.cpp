#include <gtest/gtest.h>

#include "toolkit/KtScriptName.h"

TEST(KtScriptName, AcceptsLettersDigitsAndUnderscores) {
  EXPECT_TRUE(KtIsScriptName("root"));
  EXPECT_TRUE(KtIsScriptName("L_lfemur"));
  EXPECT_TRUE(KtIsScriptName("_9aZ"));
  EXPECT_TRUE(KtIsScriptName("a0"));
}

TEST(KtScriptName, RefusesANameThatBeginsWithADigit) {
  EXPECT_FALSE(KtIsScriptName("0"));
  EXPECT_FALSE(KtIsScriptName("1_root"));
}

TEST(KtScriptName, RefusesEmptyNamesAndEveryOtherCharacter) {
  EXPECT_FALSE(KtIsScriptName(nullptr));
  EXPECT_FALSE(KtIsScriptName(""));
  EXPECT_FALSE(KtIsScriptName("a;b"));
  EXPECT_FALSE(KtIsScriptName("x\"y"));
  EXPECT_FALSE(KtIsScriptName("a b"));
  EXPECT_FALSE(KtIsScriptName("a-b"));
  EXPECT_FALSE(KtIsScriptName("a.b"));
  EXPECT_FALSE(KtIsScriptName("caf\xc3\xa9"));
  EXPECT_FALSE(KtIsScriptName("tab\t"));
}
