// The words of a script line and the integers and quoted texts in them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raro/KrScriptLine.h"

TEST(KrScriptLine, SplitsWordsAndTakesOffTheClosingSemicolon) {
  KrScriptLine l = krSplitScriptLine("\tselect  -r\tA_root;\r");
  EXPECT_EQ(l.words, (std::vector<std::string>{"select", "-r", "A_root"}));
  EXPECT_TRUE(l.terminated);
  l = krSplitScriptLine("  applyTake -device \"amc_device\" ;");
  EXPECT_EQ(l.words, (std::vector<std::string>{"applyTake", "-device", "\"amc_device\""}));
  EXPECT_TRUE(l.terminated);
  l = krSplitScriptLine("select -cl");
  EXPECT_EQ(l.words.size(), 2u);
  EXPECT_FALSE(l.terminated);
  EXPECT_TRUE(krSplitScriptLine("   // select -cl;").words.empty());
  EXPECT_TRUE(krSplitScriptLine(" \t ").words.empty());
  // A comment after a statement is not one the programs write: the line
  // stays unterminated, for the readers to refuse.
  EXPECT_FALSE(krSplitScriptLine("select -cl; // all").terminated);
}

TEST(KrScriptLine, ReadsWholeNumbersAndQuotedTexts) {
  long n = 0;
  EXPECT_TRUE(krReadInteger("-12", &n));
  EXPECT_EQ(n, -12);
  EXPECT_TRUE(krReadInteger("+4", &n));
  EXPECT_EQ(n, 4);
  for (const char* bad : {"", "-", "1.5", "2x", " 3", "99999999999999999999999"})
    EXPECT_FALSE(krReadInteger(bad, &n)) << bad;
  std::string text;
  EXPECT_TRUE(krUnquote("\"xyz\"", &text));
  EXPECT_EQ(text, "xyz");
  EXPECT_TRUE(krUnquote("\"\"", &text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(krUnquote("\"", &text));
  EXPECT_FALSE(krUnquote("xyz", &text));
}
