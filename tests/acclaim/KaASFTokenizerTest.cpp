#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "acclaim/KaASFTokenizer.h"
#include "toolkit/KtExcept.h"

namespace {

// Every token up to end of input, with end-of-line as "EOL" and
// end-of-section as "EOS".
std::vector<std::string> tokensOf(const std::string& text, int* lastLine = nullptr) {
  std::istringstream in(text);
  ASFTokenizer tokenizer(in);
  std::vector<std::string> out;
  char token[81];
  for (;;) {
    tokenizer.getNextToken(token, 81);
    if (tokenizer.atEnd()) break;
    if (ASFTokenizer::isEOLToken(token))
      out.push_back("EOL");
    else if (ASFTokenizer::isEndOfSectionToken(token))
      out.push_back("EOS");
    else
      out.push_back(token);
    if (lastLine) *lastLine = tokenizer.line();
  }
  return out;
}

using Tokens = std::vector<std::string>;

}  // namespace

TEST(ASFTokenizer, RunsOfLineEndsAndCommentsGiveOneEndOfLineToken) {
  int line = 0;
  EXPECT_EQ(tokensOf("tx ty\n\n# note\nrz", &line), (Tokens{"tx", "ty", "EOL", "rz"}));
  EXPECT_EQ(line, 4);
  EXPECT_EQ(tokensOf("\n\n# header\n  word"), (Tokens{"word"}));
}

TEST(ASFTokenizer, SectionKeywordsAtLineStartArePrecededByEndOfSection) {
  EXPECT_EQ(tokensOf(":version 1.10\n:name x\n"),
            (Tokens{":version", "1.10", "EOL", "EOS", ":name", "x", "EOL"}));
  EXPECT_EQ(tokensOf("a :b\n  :c"), (Tokens{"a", ":b", "EOL", ":c"}));
}

TEST(ASFTokenizer, ParenthesesCommasAndBracketsSeparateWords) {
  EXPECT_EQ(tokensOf("limits (-160, 20)"), (Tokens{"limits", "-160", "20"}));
  EXPECT_EQ(tokensOf("dof grp<rx ry>"), (Tokens{"dof", "grp", "<", "rx", "ry", ">"}));
  EXPECT_EQ(tokensOf("name#note\nx,y"), (Tokens{"name", "EOL", "x", "y"}));
}

TEST(ASFTokenizer, LongWordsAreSplitAtEightyCharacters) {
  Tokens t = tokensOf(std::string(85, 'a'));
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0], std::string(80, 'a'));
  EXPECT_EQ(t[1], std::string(5, 'a'));
}

TEST(ASFTokenizer, CommentRunsToTheEndOfItsLineHoweverLong) {
  int line = 0;
  EXPECT_EQ(tokensOf("#" + std::string(300, 'c') + "\nword", &line), (Tokens{"word"}));
  EXPECT_EQ(line, 2);
}

TEST(ASFTokenizer, VerticalTabAndFormFeedAreSkippedLikeBlanks) {
  EXPECT_EQ(tokensOf("a\vb\f c\f"), (Tokens{"a", "b", "c"}));
}

TEST(ASFTokenizer, BinaryGarbageEndsWithoutStalling) {
  std::string garbage;
  for (int i = 0; i < 20000; i++) garbage += (char)((i * 7919) % 256);
  Tokens t = tokensOf(garbage);
  EXPECT_FALSE(t.empty());
}

TEST(ASFTokenizer, NumberReadersConvertOrRecordInvalidNumber) {
  theExceptObj.clear();
  EXPECT_EQ(readASFFloat("3e2"), 300.0f);
  EXPECT_EQ(readASFFloat("1.5abc"), 1.5f);
  EXPECT_EQ(readASFInt("12.7"), 12);
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
  EXPECT_EQ(readASFFloat("abc"), 0.0f);
  ASSERT_TRUE(theExceptObj.errorOccurred());
  EXPECT_STREQ(theExceptObj.exception()->message().text(), "Invalid number.");
  theExceptObj.clear();
  EXPECT_EQ(readASFInt("x"), 0);
  EXPECT_TRUE(theExceptObj.errorOccurred());
  theExceptObj.clear();
}

TEST(ASFTokenizer, LimitReaderKnowsOnlyTheExactInfinityWords) {
  theExceptObj.clear();
  EXPECT_EQ(readASFLimit("inf"), 3.40282347e38f);
  EXPECT_EQ(readASFLimit("Inf"), 3.40282347e38f);
  EXPECT_EQ(readASFLimit("INF"), 3.40282347e38f);
  EXPECT_EQ(readASFLimit("-inf"), -3.40282347e38f);
  EXPECT_EQ(readASFLimit("-12.5"), -12.5f);
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
  theExceptObj.clear();
}

TEST(ASFTokenizer, AddLineNumberPrefixesTheNewestMessage) {
  theExceptObj.clear();
  std::istringstream in(std::string(11, '\n') + "word");
  ASFTokenizer tokenizer(in);
  char token[81];
  tokenizer.getNextToken(token, 81);
  KtWarning("Older.");
  KtError("Unexpected end of input.");
  addLineNumber(tokenizer);
  EXPECT_STREQ(theExceptObj.exception()->message().text(), "Line 12:  Unexpected end of input.");
  EXPECT_TRUE(theExceptObj.errorOccurred());
  EXPECT_STREQ(theExceptObj.exception()->detail()->message().text(), "Older.");
  theExceptObj.clear();
}
