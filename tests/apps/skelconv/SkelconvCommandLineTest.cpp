#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "apps/skelconv/SkelconvCommandLine.h"

namespace {

// Runs the parser on `words` (the program name is added in front) with the
// texts and the messages captured.
struct ParseResult {
  bool goOn;
  int status;
  std::string out;
  std::string err;
  SkelconvArguments args;
  std::string asfPath;  // copies: the argument words die with parse()
  std::string melPath;
};

ParseResult parse(std::vector<std::string> words) {
  words.insert(words.begin(), "skelconv-under-another-name");
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  argv.push_back(nullptr);

  std::ostringstream out, err;
  ParseResult r;
  r.status = -1;
  r.goOn = parseSkelconvCommandLine(static_cast<int>(words.size()), argv.data(), out, err, &r.args,
                                    &r.status);
  r.out = out.str();
  r.err = err.str();
  if (r.args.asfPath) r.asfPath = r.args.asfPath;
  if (r.args.melPath) r.melPath = r.args.melPath;
  r.args.asfPath = r.args.melPath = nullptr;
  return r;
}

const char kBanner[] = "\nskelconv version 1.1\n\nCopyright (c) 1998 Veltrac, Inc.\n\n";

}  // namespace

TEST(SkelconvCommandLine, TwoFilesContinueTheRunWithDefaults) {
  ParseResult r = parse({"b.asf", "a.mel"});
  EXPECT_TRUE(r.goOn);
  EXPECT_EQ(r.out, kBanner);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.asfPath, "b.asf");
  EXPECT_EQ(r.melPath, "a.mel");
  EXPECT_FALSE(r.args.common.force);
  EXPECT_EQ(std::string(static_cast<const char*>(r.args.prefix)), "");
}

TEST(SkelconvCommandLine, OptionsMatchInAnyCaseAndThePrefixLosesItsBlanks) {
  ParseResult r = parse({"-F", "-P", " my \t pre fix_ ", "a.asf", "b.mel"});
  EXPECT_TRUE(r.goOn);
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(r.args.common.force);
  EXPECT_EQ(std::string(static_cast<const char*>(r.args.prefix)), "myprefix_");
  EXPECT_EQ(r.asfPath, "a.asf");
  EXPECT_EQ(r.melPath, "b.mel");
}

TEST(SkelconvCommandLine, ALaterPrefixReplacesAnEarlierOneAndMayBeginWithADash) {
  ParseResult r = parse({"-p", "first", "-p", "-h", "a.asf", "b.mel"});
  EXPECT_TRUE(r.goOn);
  EXPECT_EQ(std::string(static_cast<const char*>(r.args.prefix)), "-h");
  // "-h" was the prefix, not the manual-page option: only the banner is printed.
  EXPECT_EQ(r.out, kBanner);
}

TEST(SkelconvCommandLine, AnInvalidOptionEndsTheRunBeforeAnyText) {
  ParseResult r = parse({"-h", "-copyright", "-c", "a.asf", "b.mel"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "\nERROR: Invalid option -c\n\n");

  r = parse({"-pfoo", "a.asf", "b.mel"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "\nERROR: Invalid option -pfoo\n\n");

  r = parse({"-"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "\nERROR: Invalid option -\n\n");
}

TEST(SkelconvCommandLine, PrefixOptionWithoutAValueIsAnError) {
  ParseResult r = parse({"-f", "-p"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "\nERROR: Expecting value for -p option.\n\n");
}

TEST(SkelconvCommandLine, TextsAloneEndTheRunSuccessfully) {
  ParseResult none = parse({});
  EXPECT_FALSE(none.goOn);
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out.rfind("\nUSAGE\n", 0), 0u);
  EXPECT_EQ(none.out.find("skelconv version"), std::string::npos);

  ParseResult man = parse({"-h"});
  EXPECT_FALSE(man.goOn);
  EXPECT_EQ(man.status, 0);
  EXPECT_EQ(man.out.rfind("\nNAME\n", 0), 0u);
  EXPECT_EQ(man.out.find("COPYRIGHT NOTICE"), std::string::npos);
  EXPECT_EQ(man.out.find("skelconv version"), std::string::npos);

  ParseResult both = parse({"-copyright", "-h"});
  EXPECT_FALSE(both.goOn);
  EXPECT_EQ(both.status, 0);
  // The manual page always comes first, whatever the order of the options.
  size_t notice = both.out.find("\nCOPYRIGHT NOTICE\n\n");
  ASSERT_NE(notice, std::string::npos);
  EXPECT_EQ(both.out.rfind("\nNAME\n", 0), 0u);
  EXPECT_EQ(both.out.substr(0, notice), man.out);
  EXPECT_EQ(both.out.find("skelconv version"), std::string::npos);
}

TEST(SkelconvCommandLine, TextsWithFileArgumentsLeadOnToTheBannerAndTheCount) {
  ParseResult r = parse({"-copyright", "a.asf"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Invalid number of arguments.\n");
  ASSERT_GE(r.out.size(), sizeof(kBanner) - 1);
  EXPECT_EQ(r.out.rfind("\nCOPYRIGHT NOTICE\n", 0), 0u);
  EXPECT_EQ(r.out.substr(r.out.size() - (sizeof(kBanner) - 1)), kBanner);

  // Options after the file names are file names: three arguments.
  r = parse({"a.asf", "b.mel", "-f"});
  EXPECT_FALSE(r.goOn);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, kBanner);
  EXPECT_EQ(r.err, "Invalid number of arguments.\n");
  EXPECT_FALSE(r.args.common.force);
}
