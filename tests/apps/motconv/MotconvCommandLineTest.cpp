#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "apps/common/ClProgramTexts.h"
#include "apps/motconv/MotconvCommandLine.h"
#include "apps/motconv/MotconvTexts.h"

namespace {

struct Parsed {
  bool goOn;
  int status;
  std::string out;
  std::string err;
  MotconvArguments args;
};

// Parses `words` after a program name; the words outlive the result.
Parsed parse(const std::vector<std::string>& words) {
  static std::vector<std::string> kept;
  kept = words;
  kept.insert(kept.begin(), "some/other/name");
  std::vector<const char*> argv;
  for (const std::string& w : kept) argv.push_back(w.c_str());
  argv.push_back(nullptr);
  std::ostringstream out, err;
  Parsed p;
  p.status = -1;
  p.goOn = parseMotconvCommandLine(static_cast<int>(kept.size()), argv.data(), out, err, &p.args,
                                   &p.status);
  p.out = out.str();
  p.err = err.str();
  return p;
}

std::string banner() {
  std::ostringstream out;
  ClPrintVersionBanner(out, theMotconvName);
  return out.str();
}

class MotconvCommandLine : public ::testing::Test {
 protected:
  void SetUp() override { filterList = ""; }
  void TearDown() override { filterList = ""; }
};

}  // namespace

TEST_F(MotconvCommandLine, FivePositionalArgumentsContinueTheRunAtEveryRate) {
  EXPECT_EQ(banner(), "\nmotconv version 1.1\n\nCopyright (c) 1998 Veltrac, Inc.\n\n");
  for (int fps : {15, 24, 25, 30, 48, 50, 60}) {
    Parsed p = parse({"s.asf", "m.amc", std::to_string(fps), "i.mel", "t.mov"});
    EXPECT_TRUE(p.goOn) << fps;
    EXPECT_EQ(p.status, 0) << fps;
    EXPECT_EQ(p.out, banner()) << fps;
    EXPECT_EQ(p.err, "") << fps;
    EXPECT_EQ(p.args.fps, fps);
    EXPECT_EQ(std::string(p.args.asfPath), "s.asf");
    EXPECT_EQ(std::string(p.args.amcPath), "m.amc");
    EXPECT_EQ(std::string(p.args.melPath), "i.mel");
    EXPECT_EQ(std::string(p.args.movPath), "t.mov");
    EXPECT_FALSE(p.args.common.force);
    EXPECT_EQ(std::string(filterList.text()), "");
  }
  // After the first positional argument nothing is an option: "-30" is read
  // as a rate and refused like any other.
  for (const char* fps : {"0", "-30", "100", "3O"}) {
    Parsed p = parse({"s.asf", "m.amc", fps, "i.mel", "t.mov"});
    EXPECT_FALSE(p.goOn) << fps;
    EXPECT_EQ(p.status, 1) << fps;
    EXPECT_EQ(p.out, banner()) << fps;
    // The fixed first line, what was given and what Raro plays, and for a
    // number above 0 how to play a take captured at that rate.
    // Each reason is wrapped at 70 columns under the first line.
    std::string expected = std::string("ERROR: Invalid value for fps.\n       The frame rate \"") +
                           fps + "\" is not one of Raro's rates 15, 24, 25, 30, 48, 50\n" +
                           "       and 60.\n";
    if (std::string(fps) == "100")
      expected +=
          "       A take captured at 100 frames per second plays at its own speed with\n"
          "       -capture 100 and one of those rates.\n";
    EXPECT_EQ(p.err, expected) << fps;
  }
}

TEST_F(MotconvCommandLine, OptionsInAnyCaseAndTheLastFilterListAsTyped) {
  Parsed p = parse({"-F", "-Filter", "euler", "-FILTER", "  euler \t simplify ", "s.asf", "m.amc",
                    "25", "i.mel", "t.mov"});
  EXPECT_TRUE(p.goOn);
  EXPECT_TRUE(p.args.common.force);
  EXPECT_EQ(p.args.fps, 25);
  EXPECT_EQ(std::string(filterList.text()), "  euler \t simplify ");
  EXPECT_EQ(p.out, banner());

  // An empty list is stored too: it names no filter.
  p = parse({"-filter", "", "s.asf", "m.amc", "30", "i.mel", "t.mov"});
  EXPECT_TRUE(p.goOn);
  EXPECT_EQ(std::string(filterList.text()), "");
}

TEST_F(MotconvCommandLine, PagesWithFilesArePrintedBeforeTheBannerAndTheRunGoesOn) {
  std::ostringstream manual, copyright;
  printMotconvManualPage(manual);
  ClPrintCopyrightNotice(copyright);
  Parsed p = parse({"-COPYRIGHT", "-H", "s.asf", "m.amc", "60", "i.mel", "t.mov"});
  EXPECT_TRUE(p.goOn);
  EXPECT_TRUE(p.args.common.manualPage);
  EXPECT_TRUE(p.args.common.copyright);
  EXPECT_EQ(p.out, manual.str() + copyright.str() + banner());

  // The pages alone end the run with status 0.
  p = parse({"-h", "-copyright"});
  EXPECT_FALSE(p.goOn);
  EXPECT_EQ(p.status, 0);
  EXPECT_EQ(p.out, manual.str() + copyright.str());
  EXPECT_EQ(p.err, "");
}

TEST_F(MotconvCommandLine, CaptureTakesANumberAboveZeroAndALaterOneReplacesAnEarlierOne) {
  Parsed p =
      parse({"-capture", "120", "-CAPTURE", "29.97", "s.asf", "m.amc", "30", "i.mel", "t.mov"});
  EXPECT_TRUE(p.goOn);
  EXPECT_TRUE(p.args.captureGiven);
  EXPECT_STREQ(p.args.capture.text, "29.97");
  EXPECT_EQ(p.args.capture.numerator, 2997);
  EXPECT_EQ(p.args.capture.denominator, 100);
  EXPECT_EQ(p.args.fps, 30);
  p = parse({"s.asf", "m.amc", "30", "i.mel", "t.mov"});
  EXPECT_FALSE(p.args.captureGiven);
  // Refused in the option loop, before the banner and before any file.
  p = parse({"-capture", "1e999", "s.asf", "m.amc", "30", "i.mel", "t.mov"});
  EXPECT_FALSE(p.goOn);
  EXPECT_EQ(p.status, 1);
  EXPECT_EQ(p.out, "");
  EXPECT_EQ(p.err,
            "\nERROR: Invalid value \"1e999\" for -capture option: the capture rate must be a "
            "finite number above 0.\n\n");
}
