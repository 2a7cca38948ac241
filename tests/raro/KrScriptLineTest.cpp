// The words of a script line and the integers and quoted texts in them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raro/KrScriptLine.h"

TEST(KrScriptLine, SplitsWordsAndTakesOffTheClosingSemicolon) {
  KrScriptLine l = KrSplitScriptLine("\tselect  -r\tA_root;\r");
  EXPECT_EQ(l.words, (std::vector<std::string>{"select", "-r", "A_root"}));
  EXPECT_TRUE(l.terminated);
  l = KrSplitScriptLine("  applyTake -device \"amc_device\" ;");
  EXPECT_EQ(l.words, (std::vector<std::string>{"applyTake", "-device", "\"amc_device\""}));
  EXPECT_TRUE(l.terminated);
  l = KrSplitScriptLine("select -cl");
  EXPECT_EQ(l.words.size(), 2u);
  EXPECT_FALSE(l.terminated);
  EXPECT_TRUE(KrSplitScriptLine("   // select -cl;").words.empty());
  EXPECT_TRUE(KrSplitScriptLine(" \t ").words.empty());
  // A comment after a statement is not one the programs write: the line
  // stays unterminated, for the readers to refuse.
  EXPECT_FALSE(KrSplitScriptLine("select -cl; // all").terminated);
}

TEST(KrScriptLine, ReadsWholeNumbersAndQuotedTexts) {
  long n = 0;
  EXPECT_TRUE(KrReadInteger("-12", &n));
  EXPECT_EQ(n, -12);
  EXPECT_TRUE(KrReadInteger("+4", &n));
  EXPECT_EQ(n, 4);
  for (const char* bad : {"", "-", "1.5", "2x", " 3", "99999999999999999999999"})
    EXPECT_FALSE(KrReadInteger(bad, &n)) << bad;
  std::string text;
  EXPECT_TRUE(KrUnquote("\"xyz\"", &text));
  EXPECT_EQ(text, "xyz");
  EXPECT_TRUE(KrUnquote("\"\"", &text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(KrUnquote("\"", &text));
  EXPECT_FALSE(KrUnquote("xyz", &text));
}
