#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "toolkit/KtExcept.h"

namespace {

// Records go into the process-wide holder; every test starts and ends empty.
class KtExceptTest : public ::testing::Test {
 protected:
  void SetUp() override { theExceptObj.clear(); }
  void TearDown() override { theExceptObj.clear(); }
};

std::string checkAndCapture(int* result) {
  ::testing::internal::CaptureStderr();
  *result = KtCheckException();
  return ::testing::internal::GetCapturedStderr();
}

std::string words(int count) {
  std::string s;
  for (int i = 0; i < count; i++) s += i ? " abcd" : "abcd";
  return s;
}

}  // namespace

TEST_F(KtExceptTest, CheckWithNothingRecordedPrintsNothingAndReturnsZero) {
  int result = -1;
  EXPECT_EQ(checkAndCapture(&result), "");
  EXPECT_EQ(result, 0);
}

TEST_F(KtExceptTest, ErrorWithDetailPrintsNewestFirstAndIndentsTheOlder) {
  KtError("File does not exist.");
  KtError("Unable to open \"%s\".", "/tmp/walk.asf");
  EXPECT_TRUE(theExceptObj.errorOccurred());
  EXPECT_FALSE(theExceptObj.warningOccurred());
  int result = -1;
  EXPECT_EQ(checkAndCapture(&result),
            "\n\nERROR: Unable to open \"/tmp/walk.asf\".\n"
            "       File does not exist.\n\n");
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
  EXPECT_EQ(theExceptObj.exception(), nullptr);
}

TEST_F(KtExceptTest, ThreeErrorsPrintLastFirstThenSecondThenFirst) {
  KtError("one");
  KtError("two");
  KtError("three");
  int result = -1;
  EXPECT_EQ(checkAndCapture(&result), "\n\nERROR: three\n       two\n       one\n\n");
  EXPECT_EQ(result, 1);
}

TEST_F(KtExceptTest, WarningAlonePrintsWarningParagraphAndReturnsZero) {
  KtWarning("Bone %s has no dof.", "head");
  EXPECT_TRUE(theExceptObj.warningOccurred());
  EXPECT_FALSE(theExceptObj.errorOccurred());
  EXPECT_TRUE((int)theExceptObj);
  int result = -1;
  EXPECT_EQ(checkAndCapture(&result), "\n\nWARNING: Bone head has no dof.\n\n");
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
}

TEST_F(KtExceptTest, WarningAfterErrorMakesTheWholeParagraphAWarning) {
  KtError("Bad bone.");
  KtWarning("Check skipped.");
  EXPECT_FALSE(theExceptObj.errorOccurred());
  EXPECT_TRUE(theExceptObj.warningOccurred());
  int result = -1;
  EXPECT_EQ(checkAndCapture(&result), "\n\nWARNING: Check skipped.\n         Bad bone.\n\n");
  EXPECT_EQ(result, 0);
}

TEST_F(KtExceptTest, CheckWithTextAddsItOnlyInFrontOfAnError) {
  KtError("inner");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(KtCheckException("outer %d", 2), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "\n\nERROR: outer 2\n       inner\n\n");

  KtWarning("only a warning");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(KtCheckException("unused"), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "\n\nWARNING: only a warning\n\n");

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(KtCheckException("unused"), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
}

TEST_F(KtExceptTest, ExtendAndPreExtendAddIndentedLines) {
  KtError("middle");
  theExceptObj.extendException("last %d", 3);
  theExceptObj.preExtendException("first");
  EXPECT_EQ(theExceptObj.exception()->message(), "first\nmiddle\nlast 3");
  int result = -1;
  EXPECT_EQ(checkAndCapture(&result), "\n\nERROR: first\n       middle\n       last 3\n\n");

  // With nothing recorded the calls are ignored.
  theExceptObj.extendException("x");
  theExceptObj.preExtendException("y");
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
}

TEST_F(KtExceptTest, PercentBroughtInByAnArgumentIsNotInterpretedAgain) {
  KtError("Unable to open \"%s\".", "100%s%d%n.asf");
  EXPECT_EQ(theExceptObj.exception()->message(), "Unable to open \"100%s%d%n.asf\".");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(KtCheckException("In %s", "%s%%"), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "\n\nERROR: In %s%%\n       Unable to open \"100%s%d%n.asf\".\n\n");
}

TEST_F(KtExceptTest, FormattedMessagesAreCutAt1023Characters) {
  std::string longText(2000, 'x');
  KtError("%s", longText.c_str());
  EXPECT_EQ(theExceptObj.exception()->message().length(), 1023);
  KtWarning("%s!", std::string(1022, 'y').c_str());
  EXPECT_EQ(std::string(theExceptObj.exception()->message()), std::string(1022, 'y') + "!");
  theExceptObj.setAsError("%s", longText.c_str());
  EXPECT_EQ(std::string(theExceptObj.exception()->message()), std::string(1023, 'x'));
}

TEST_F(KtExceptTest, LongMessagesWrapAtSeventyColumnsUnderThePrefix) {
  // Fourteen words of four letters fill 69 columns; the fifteenth does not fit.
  KtError("%s", words(20).c_str());
  KtError("%s", std::string(100, 'z').c_str());
  int result = -1;
  EXPECT_EQ(checkAndCapture(&result), "\n\nERROR: " + std::string(100, 'z') + "\n       " +
                                          words(14) + "\n       " + words(6) + "\n\n");

  KtWarning("%s", words(15).c_str());
  EXPECT_EQ(checkAndCapture(&result), "\n\nWARNING: " + words(14) + "\n         abcd\n\n");
}

TEST_F(KtExceptTest, GetExceptionStrYieldsThePrintedText) {
  KtError("older");
  KtWarning("%s", words(30).c_str());
  std::ostringstream printed;
  KtPrintException(printed, *theExceptObj.exception());
  KtStr text;
  KtGetExceptionStr(&text, *theExceptObj.exception());
  EXPECT_EQ(std::string(text.text()), printed.str());
  EXPECT_EQ(printed.str(), "\n\nWARNING: " + words(14) + "\n         " + words(14) +
                               "\n         abcd abcd\n         older\n\n");
}

TEST(KtExcept, RecordsCopyTheirWholeChain) {
  KtExcept* oldest = new KtExcept(0, "oldest");
  KtExcept* middle = new KtExcept(1, "middle", oldest);
  KtExcept head(0, "head", middle);
  KtExcept copy(head);
  ASSERT_TRUE(copy.hasDetail());
  EXPECT_NE(copy.detail(), middle);
  EXPECT_EQ(copy.detail()->message(), "middle");
  EXPECT_TRUE(copy.detail()->isWarning());
  ASSERT_TRUE(copy.detail()->hasDetail());
  EXPECT_EQ(copy.detail()->detail()->message(), "oldest");
  EXPECT_FALSE(copy.detail()->detail()->hasDetail());

  KtExcept plain;
  EXPECT_TRUE(plain.isError());
  EXPECT_FALSE(plain.isWarning());
  EXPECT_EQ(plain.message(), "");
  EXPECT_FALSE(plain.hasDetail());
  plain.setAsWarning();
  EXPECT_TRUE(plain.isWarning());
  KtExcept negative(-1, "x");
  EXPECT_TRUE(negative.isError());
  EXPECT_TRUE(negative.isWarning());
}

TEST(KtExceptionHandler, CopyHoldsItsOwnChain) {
  KtExceptionHandler handler;
  handler.setAsError("first %d", 1);
  handler.setAsWarning("second");
  KtExceptionHandler copy(handler);
  handler.clear();
  EXPECT_FALSE(handler.exceptionOccurred());
  ASSERT_TRUE(copy.warningOccurred());
  EXPECT_EQ(copy.exception()->message(), "second");
  ASSERT_TRUE(copy.exception()->hasDetail());
  EXPECT_EQ(copy.exception()->detail()->message(), "first 1");
}

TEST(KtWrapString, TabAdvancesToTheNextMultipleOfTheTabWidth) {
  // The tab at column 3 moves to column 8, so "defgh" passes width 10.
  EXPECT_EQ(KtWrapString("abc\tdefgh", 10, 8), "abc\ndefgh");
  EXPECT_EQ(KtWrapString("abc defgh", 10, 8), "abc defgh");
}

TEST(KtWrapString, KeepsNewlinesAndDoesNotSplitLongWords) {
  EXPECT_EQ(KtWrapString("ab\ncd", 70, 8), "ab\ncd");
  EXPECT_EQ(KtWrapString("\nabc", 70, 8), "\nabc");
  EXPECT_EQ(KtWrapString("abcdefghij", 4, 8), "abcdefghij");
  EXPECT_EQ(KtWrapString("ab cdefghij kl", 4, 8), "ab\ncdefghij\nkl");
  EXPECT_EQ(KtWrapString("", 70, 8), "");
}

TEST(KtWrapString, DropsBlanksAfterABreakAndKeepsTrailingBlanks) {
  EXPECT_EQ(KtWrapString("aaaa bbbb", 6, 8), "aaaa\nbbbb");
  // The second blank is the last break before column 5 is passed.
  EXPECT_EQ(KtWrapString("aa  bbbbbbbb", 5, 8), "aa \nbbbbbbbb");
  EXPECT_EQ(KtWrapString("aaaa \t bbbb", 6, 8), "aaaa \nbbbb");
  EXPECT_EQ(KtWrapString("ab  ", 70, 8), "ab  ");
}

TEST(KtExceptionHandlerDeathTest, FatalSwitchAbortsOnErrorsOnly) {
  KtExceptionHandler handler;
  KtExceptionHandler::_errors_are_fatal = 1;
  handler.setAsWarning("a warning goes on");
  EXPECT_TRUE(handler.warningOccurred());
  EXPECT_DEATH(handler.setAsError("stop"), "");
  EXPECT_DEATH(KtError("stop"), "");
  KtExceptionHandler::_errors_are_fatal = 0;
  handler.setAsError("recorded");
  EXPECT_TRUE(handler.errorOccurred());
}
