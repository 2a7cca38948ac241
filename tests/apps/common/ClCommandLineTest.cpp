#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>

#include "apps/common/ClCommandLine.h"
#include "toolkit/KtExcept.h"

namespace {

void printManualPage(std::ostream& out) {
  out << "MANUAL\n";
}

const ClProgram theProgram = {"someprog", printManualPage};

const char kBanner[] = "\nsomeprog version 1.1\n\nCopyright (c) 1998 Veltrac, Inc.\n\n";
const char kNoticeHead[] = "\nCOPYRIGHT NOTICE\n\n     Copyright (c) 1998 Veltrac, Inc.\n\n";

std::string requestedTexts(const ClCommonOptions& options, bool filesFollow, bool* goOn) {
  std::ostringstream out;
  *goOn = ClPrintRequestedTexts(theProgram, options, filesFollow, out);
  return out.str();
}

}  // namespace

TEST(ClCommandLine, CommonOptionsAreTakenInAnyCaseAndOthersAreLeftToTheProgram) {
  ClCommonOptions options;
  std::ostringstream out;
  EXPECT_EQ(ClTakeCommonOption(theProgram, "-H", &options, out), ClCommonOption::Taken);
  EXPECT_TRUE(options.manualPage);
  EXPECT_FALSE(options.copyright);
  EXPECT_FALSE(options.force);
  EXPECT_EQ(ClTakeCommonOption(theProgram, "-COPYRIGHT", &options, out), ClCommonOption::Taken);
  EXPECT_TRUE(options.copyright);
  EXPECT_EQ(ClTakeCommonOption(theProgram, "-F", &options, out), ClCommonOption::Taken);
  EXPECT_TRUE(options.force);

  ClCommonOptions help;
  EXPECT_EQ(ClTakeCommonOption(theProgram, "--Help", &help, out), ClCommonOption::Taken);
  EXPECT_TRUE(help.manualPage);

  for (const char* other : {"-p", "-filter", "-help", "-ff", "--versions", "-", "--"}) {
    ClCommonOptions none;
    EXPECT_EQ(ClTakeCommonOption(theProgram, other, &none, out), ClCommonOption::Other) << other;
    EXPECT_FALSE(none.manualPage || none.copyright || none.force) << other;
  }
  EXPECT_EQ(out.str(), "");
}

TEST(ClCommandLine, VersionPrintsTheVersionLineAtOnce) {
  ClCommonOptions options;
  std::ostringstream out;
  EXPECT_EQ(ClTakeCommonOption(theProgram, "--VERSION", &options, out), ClCommonOption::Version);
  EXPECT_EQ(out.str(), "someprog 1.1\n");
}

TEST(ClCommandLine, TextsAskedForComeManualFirstAndEndTheRunWithoutFiles) {
  bool goOn = true;
  ClCommonOptions manual;
  manual.manualPage = true;
  EXPECT_EQ(requestedTexts(manual, false, &goOn), "MANUAL\n");
  EXPECT_FALSE(goOn);

  ClCommonOptions both;
  both.manualPage = both.copyright = true;
  std::string texts = requestedTexts(both, false, &goOn);
  EXPECT_FALSE(goOn);
  EXPECT_EQ(texts.rfind(std::string("MANUAL\n") + kNoticeHead, 0), 0u);
  EXPECT_EQ(texts.find("version"), std::string::npos);

  ClCommonOptions copyright;
  copyright.copyright = true;
  EXPECT_EQ(requestedTexts(copyright, false, &goOn).rfind(kNoticeHead, 0), 0u);
  EXPECT_FALSE(goOn);
}

TEST(ClCommandLine, WithFilesTheBannerFollowsTheTextsAndTheRunGoesOn) {
  bool goOn = false;
  ClCommonOptions manual;
  manual.manualPage = true;
  EXPECT_EQ(requestedTexts(manual, true, &goOn), std::string("MANUAL\n") + kBanner);
  EXPECT_TRUE(goOn);

  ClCommonOptions both;
  both.manualPage = both.copyright = true;
  goOn = false;
  std::string texts = requestedTexts(both, true, &goOn);
  EXPECT_TRUE(goOn);
  EXPECT_EQ(texts.rfind(std::string("MANUAL\n") + kNoticeHead, 0), 0u);
  ASSERT_GT(texts.size(), sizeof kBanner - 1);
  EXPECT_EQ(texts.substr(texts.size() - (sizeof kBanner - 1)), kBanner);

  // Without a text the banner comes either way; the program then counts
  // its file arguments.
  ClCommonOptions none;
  goOn = false;
  EXPECT_EQ(requestedTexts(none, true, &goOn), kBanner);
  EXPECT_TRUE(goOn);
  goOn = false;
  EXPECT_EQ(requestedTexts(none, false, &goOn), kBanner);
  EXPECT_TRUE(goOn);
}

TEST(ClCommandLine, AnOptionErrorIsPrintedAsOneUnwrappedParagraphAndForgotten) {
  theExceptObj.clear();
  KtError("Expecting value for -p option.");
  std::ostringstream err;
  ClPrintOptionError(err);
  EXPECT_EQ(err.str(), "\nERROR: Expecting value for -p option.\n\n");
  EXPECT_FALSE(theExceptObj.exceptionOccurred());

  // A message longer than a diagnostics paragraph's lines stays on one line.
  const std::string value(90, 'x');
  const std::string message = "Invalid value \"" + value + "\" for -capture option.";
  theExceptObj.recordError(KtStr(message.c_str()));
  err.str("");
  ClPrintOptionError(err);
  EXPECT_EQ(err.str(), "\nERROR: " + message + "\n\n");
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
}
