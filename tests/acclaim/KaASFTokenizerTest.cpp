#include <gtest/gtest.h>

#include <cstring>
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

TEST(KaASFTokenizer, RunsOfLineEndsAndCommentsGiveOneEndOfLineToken) {
  int line = 0;
  EXPECT_EQ(tokensOf("tx ty\n\n# note\nrz", &line), (Tokens{"tx", "ty", "EOL", "rz"}));
  EXPECT_EQ(line, 4);
  EXPECT_EQ(tokensOf("\n\n# header\n  word"), (Tokens{"word"}));
}

TEST(KaASFTokenizer, SectionKeywordsAtLineStartArePrecededByEndOfSection) {
  EXPECT_EQ(tokensOf(":version 1.10\n:name x\n"),
            (Tokens{":version", "1.10", "EOL", "EOS", ":name", "x", "EOL"}));
  EXPECT_EQ(tokensOf("a :b\n  :c"), (Tokens{"a", ":b", "EOL", ":c"}));
}

TEST(KaASFTokenizer, ParenthesesCommasAndBracketsSeparateWords) {
  EXPECT_EQ(tokensOf("limits (-160, 20)"), (Tokens{"limits", "-160", "20"}));
  EXPECT_EQ(tokensOf("dof grp<rx ry>"), (Tokens{"dof", "grp", "<", "rx", "ry", ">"}));
  EXPECT_EQ(tokensOf("name#note\nx,y"), (Tokens{"name", "EOL", "x", "y"}));
}

TEST(KaASFTokenizer, WordsEndAtBracketsAndCommentsAndBracketsStandAlone) {
  EXPECT_EQ(tokensOf("RX<ry>rz"), (Tokens{"RX", "<", "ry", ">", "rz"}));
  EXPECT_EQ(tokensOf("<<>>"), (Tokens{"<", "<", ">", ">"}));
  EXPECT_EQ(tokensOf("a # end of input without a line end"), (Tokens{"a", "EOL"}));
}

TEST(KaASFTokenizer, LineNumberMovesWhenAReadPassesTheLineEnd) {
  std::istringstream in("one\n\n  two # note\nthree");
  ASFTokenizer tokenizer(in);
  char token[81];
  tokenizer.getNextToken(token, 81);
  EXPECT_STREQ(token, "one");
  EXPECT_EQ(tokenizer.line(), 1);
  tokenizer.getNextNonEOLToken(token, 81);
  EXPECT_STREQ(token, "two");
  EXPECT_EQ(tokenizer.line(), 3);
  tokenizer.getNextToken(token, 81);
  EXPECT_TRUE(ASFTokenizer::isEOLToken(token));
  EXPECT_EQ(tokenizer.line(), 4);
  tokenizer.getNextToken(token, 81);
  EXPECT_STREQ(token, "three");
  EXPECT_FALSE(tokenizer.atEnd());
  tokenizer.getNextToken(token, 81);
  EXPECT_TRUE(tokenizer.atEnd());
  EXPECT_STREQ(token, "");
  EXPECT_EQ(tokenizer.line(), 4);
}

TEST(KaASFTokenizer, TokenizerConsumesFromTheStreamItIsMadeOn) {
  std::istringstream in("first second");
  {
    ASFTokenizer tokenizer(in);
    char token[81];
    tokenizer.getNextToken(token, 81);
    EXPECT_STREQ(token, "first");
  }
  std::string rest;
  in >> rest;
  EXPECT_EQ(rest, "second");
}

TEST(KaASFTokenizer, LongWordsAreSplitAtEightyCharacters) {
  Tokens t = tokensOf(std::string(85, 'a'));
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0], std::string(80, 'a'));
  EXPECT_EQ(t[1], std::string(5, 'a'));
  // A 10 MB word neither stalls nor overruns the buffer.
  std::istringstream in(std::string(10 << 20, 'w') + " end");
  ASFTokenizer tokenizer(in);
  char token[81];
  int count = 0;
  do {
    tokenizer.getNextToken(token, 81);
    count++;
  } while (!tokenizer.atEnd() && std::string(token) != "end");
  EXPECT_STREQ(token, "end");
  EXPECT_EQ(count, (10 << 20) / 80 + 1);
}

TEST(KaASFTokenizer, CommentRunsToTheEndOfItsLineHoweverLong) {
  int line = 0;
  EXPECT_EQ(tokensOf("#" + std::string(300, 'c') + "\nword", &line), (Tokens{"word"}));
  EXPECT_EQ(line, 2);
}

TEST(KaASFTokenizer, VerticalTabAndFormFeedAreSkippedLikeBlanks) {
  EXPECT_EQ(tokensOf("a\vb\f c\f"), (Tokens{"a", "b", "c"}));
}

TEST(KaASFTokenizer, BinaryGarbageEndsWithoutStalling) {
  std::string garbage;
  for (int i = 0; i < 20000; i++) garbage += (char)((i * 7919) % 256);
  Tokens t = tokensOf(garbage);
  EXPECT_FALSE(t.empty());
}

TEST(KaASFTokenizer, NumberReadersConvertOrRecordInvalidNumber) {
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

TEST(KaASFTokenizer, LimitReaderKnowsOnlyTheExactInfinityWords) {
  theExceptObj.clear();
  EXPECT_EQ(readASFLimit("inf"), 3.40282347e38f);
  EXPECT_EQ(readASFLimit("Inf"), 3.40282347e38f);
  EXPECT_EQ(readASFLimit("INF"), 3.40282347e38f);
  EXPECT_EQ(readASFLimit("-inf"), -3.40282347e38f);
  EXPECT_EQ(readASFLimit("-12.5"), -12.5f);
  // Other spellings go to the number conversion, which has no largest float.
  EXPECT_NE(readASFLimit("+inf"), 3.40282347e38f);
  EXPECT_NE(readASFLimit("infinity"), 3.40282347e38f);
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
  theExceptObj.clear();
}

TEST(KaASFTokenizer, AddLineNumberPrefixesTheNewestMessage) {
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

TEST(KaASFTokenizer, AByteOrderMarkAtTheStartIsSkipped) {
  const std::string mark = "\xEF\xBB\xBF";
  int line = 0;
  EXPECT_EQ(tokensOf(mark + ":version 1\n\nx", &line), (Tokens{":version", "1", "EOL", "x"}));
  EXPECT_EQ(line, 3);
  EXPECT_EQ(tokensOf(mark + "\n# note\nword", &line), (Tokens{"word"}));
  EXPECT_EQ(line, 3);
  // Anywhere else, or cut short, the bytes are part of a word.
  EXPECT_EQ(tokensOf("a " + mark + "b"), (Tokens{"a", mark + "b"}));
  EXPECT_EQ(tokensOf(mark + mark + "c"), (Tokens{mark + "c"}));
  EXPECT_EQ(tokensOf("\xEF\xBB:version"), (Tokens{"\xEF\xBB:version"}));
  EXPECT_EQ(tokensOf("\xEF:v"), (Tokens{"\xEF:v"}));
  EXPECT_EQ(tokensOf("\xEF\xBB"), (Tokens{"\xEF\xBB"}));
}

TEST(KaASFTokenizer, APushedBackTokenIsGivenAgainWithItsLineAndEndState) {
  std::istringstream in("dof rx\n\nlimits");
  ASFTokenizer tokenizer(in);
  char token[81];
  tokenizer.getNextNonEOLToken(token, 81);
  tokenizer.getNextNonEOLToken(token, 81);
  EXPECT_STREQ(token, "rx");
  tokenizer.getNextNonEOLToken(token, 81);
  EXPECT_STREQ(token, "limits");
  EXPECT_EQ(tokenizer.line(), 3);
  tokenizer.pushBack();
  std::strcpy(token, "overwritten");
  tokenizer.getNextToken(token, 81);
  EXPECT_STREQ(token, "limits");
  EXPECT_EQ(tokenizer.line(), 3);
  EXPECT_FALSE(tokenizer.atEnd());
  // Given once only; then the input goes on.
  tokenizer.getNextToken(token, 81);
  EXPECT_TRUE(tokenizer.atEnd());
  tokenizer.pushBack();
  tokenizer.getNextNonEOLToken(token, 81);
  EXPECT_TRUE(tokenizer.atEnd());
  EXPECT_STREQ(token, "");
  // A shorter buffer takes what fits.
  std::istringstream words("abcdef");
  ASFTokenizer cut(words);
  cut.getNextToken(token, 81);
  cut.pushBack();
  cut.getNextToken(token, 4);
  EXPECT_STREQ(token, "abc");
}
