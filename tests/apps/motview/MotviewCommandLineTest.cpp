// motview's command line: options in any case before the four file
// arguments, -frames and -step taken with their values and refused, naming
// the value, when they are not what the manual says, the texts asked for,
// and the number of file arguments.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "apps/motview/MotviewCommandLine.h"

namespace {

struct ParseResult {
  bool goOn;
  int status;
  std::string out;
  std::string err;
  MotviewArguments args;
  std::vector<std::string> files;  // copies: the argument words die with parse()
};

ParseResult parse(std::vector<std::string> words) {
  words.insert(words.begin(), "motview-under-another-name");
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  argv.push_back(nullptr);
  std::ostringstream out, err;
  ParseResult r;
  r.status = -1;
  r.goOn = parseMotviewCommandLine(static_cast<int>(words.size()), argv.data(), out, err, &r.args,
                                   &r.status);
  r.out = out.str();
  r.err = err.str();
  for (const char* path : {r.args.jointPath, r.args.importPath, r.args.movPath, r.args.outputPath})
    if (path) r.files.push_back(path);
  return r;
}

const char kBanner[] = "\nmotview version 1.1\n\nCopyright (c) 1998 Veltrac, Inc.\n\n";

}  // namespace

TEST(MotviewCommandLine, FourFilesContinueTheRunWithDefaults) {
  ParseResult r = parse({"s.mel", "t.mel", "t.mov", "out.svg"});
  EXPECT_TRUE(r.goOn);
  EXPECT_EQ(r.out, kBanner);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.files, (std::vector<std::string>{"s.mel", "t.mel", "t.mov", "out.svg"}));
  EXPECT_FALSE(r.args.common.force);
  EXPECT_FALSE(r.args.framesGiven);
  EXPECT_EQ(r.args.step, 1);
}

TEST(MotviewCommandLine, OptionsMatchInAnyCaseAndALaterValueReplacesAnEarlier) {
  ParseResult r = parse({"-F", "-Frames", "3,1", "-STEP", "9", "-frames", " 5 , 2 ", "-step", "12",
                         "s.mel", "t.mel", "t.mov", "-out.html"});
  EXPECT_TRUE(r.goOn);
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(r.args.common.force);
  EXPECT_TRUE(r.args.framesGiven);
  EXPECT_EQ(r.args.frames, (std::vector<long>{5, 2}));
  EXPECT_EQ(r.args.step, 12);
  // After the first file argument every word is a file, even one with "-".
  EXPECT_EQ(r.files.back(), "-out.html");
}

TEST(MotviewCommandLine, RefusesAStepThatIsNotAWholeNumberOfAtLeastOneNamingIt) {
  ParseResult r = parse({"-step", "0", "s.mel", "t.mel", "t.mov", "o.html"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  // The message wraps at 70 columns, as every error paragraph does.
  EXPECT_EQ(r.err,
            "\n\nERROR: Invalid value \"0\" for -step option: the step must be a whole number of\n"
            "       at least 1.\n\n");
  for (const char* bad : {"-1", "1.5", "2x", "", "+2", " 2", "99999999999", "0x4"}) {
    r = parse({"-step", bad, "s.mel", "t.mel", "t.mov", "o.html"});
    EXPECT_FALSE(r.goOn) << bad;
    EXPECT_EQ(r.status, 1) << bad;
    EXPECT_EQ(r.out, "") << bad;
    EXPECT_EQ(
        r.err.rfind(std::string("\n\nERROR: Invalid value \"") + bad + "\" for -step option:", 0),
        0u)
        << r.err;
  }
}

TEST(MotviewCommandLine, RefusesAFrameListThatIsNotNumbersAndCommasNamingIt) {
  ParseResult r = parse({"-frames", "1,,60", "s.mel", "t.mel", "t.mov", "o.svg"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "\n\nERROR: Invalid value \"1,,60\" for -frames option: expected scene frame numbers\n"
            "       separated by commas, such as 1,60,120.\n\n");
}

TEST(MotviewCommandLine, RefusesAnOptionWithoutItsValueAndAnUnknownOption) {
  ParseResult r = parse({"-f", "-frames"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "\n\nERROR: Expecting value for -frames option.\n\n");
  r = parse({"-step"});
  EXPECT_EQ(r.err, "\n\nERROR: Expecting value for -step option.\n\n");
  r = parse({"-p", "x_", "s.mel", "t.mel", "t.mov", "o.svg"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "\n\nERROR: Invalid option -p\n\n");
}

TEST(MotviewCommandLine, TextsAreAskedForWithoutFilesAndFilesAreCounted) {
  ParseResult r = parse({});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("\nUSAGE\n     motview [-h] [-copyright] [-f] [-frames <list>]", 0), 0u);

  r = parse({"--VERSION", "-bad", "s.mel"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "motview 1.1\n");

  r = parse({"-h", "-copyright"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("\nNAME\n     motview - ", 0), 0u);
  EXPECT_NE(r.out.find("\nCOPYRIGHT NOTICE\n"), std::string::npos);
  EXPECT_EQ(r.out.find("motview version"), std::string::npos);

  r = parse({"s.mel", "t.mel", "t.mov"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, kBanner);
  EXPECT_EQ(r.err, "\n\nERROR: Invalid number of arguments.\n\n");
}
