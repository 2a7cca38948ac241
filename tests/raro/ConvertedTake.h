#ifndef RC_CONVERTED_TAKE_H
#define RC_CONVERTED_TAKE_H

// The files a user gets from skelconv and motconv on the bundled CMU
// charleston take, for the Raro model's reader tests.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "toolkit/KtExcept.h"

namespace rarotest {

namespace fs = std::filesystem;

inline std::string readText(const fs::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct ConvertedTake {
  std::string name;
  int fps = 30;
  long firstFrame = 1;
  std::string jointScript;
  std::string importScript;
  std::string mov;
};

// skelconv -p A_ on charleston.asf, and motconv -p A_ <options> on the
// take at fps.
inline ConvertedTake convert(const std::string& name, const std::string& options, int fps,
                             long firstFrame) {
  // A folder of the test's own: CTest runs the cases side by side.
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const fs::path dir = fs::current_path() / "raro-work" /
                       (std::string(test->test_suite_name()) + "." + test->name()) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string cmu = std::string(RC_DATA_DIR) + "/cmu/";
  const std::string cd = "cd '" + dir.string() + "' && ";
  const std::string skelconv =
      cd + SKELCONV_PATH + " -f -p A_ '" + cmu + "charleston.asf' s.mel > log.txt 2>&1";
  const std::string motconv = cd + MOTCONV_PATH + " -f -p A_ " + options + " '" + cmu +
                              "charleston.asf' '" + cmu + "charleston1.amc' " +
                              std::to_string(fps) + " t.mel t.mov >> log.txt 2>&1";
  EXPECT_EQ(std::system(skelconv.c_str()), 0) << readText(dir / "log.txt");
  EXPECT_EQ(std::system(motconv.c_str()), 0) << readText(dir / "log.txt");
  return {name,
          fps,
          firstFrame,
          readText(dir / "s.mel"),
          readText(dir / "t.mel"),
          readText(dir / "t.mov")};
}

// A plain run at 30, one with filters, and one whose capture rate puts the
// take's first frame on scene frame 2.
inline const std::vector<ConvertedTake>& convertedTakes() {
  static const std::vector<ConvertedTake> takes = {
      convert("plain", "", 30, 1),
      convert("filter", "-filter 'smooth clamp'", 30, 1),
      convert("capture", "-capture 30", 60, 2),
  };
  return takes;
}

// The recorded messages, newest first (as they are printed: the file's
// message over its line's); the holder is cleared.
inline std::vector<std::string> messages() {
  std::vector<std::string> out;
  for (KtExcept* e = theExceptObj.exception(); e; e = e->detail())
    out.push_back(e->message().text());
  theExceptObj.clear();
  return out;
}

// How many lines of text start (after indentation) with start.
inline int linesStartingWith(const std::string& text, const std::string& start) {
  std::istringstream in(text);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    const size_t at = line.find_first_not_of(" \t");
    if (at != std::string::npos && line.compare(at, start.size(), start) == 0) ++n;
  }
  return n;
}

// The number of the first line of text holding part.
inline int lineHolding(const std::string& text, const std::string& part) {
  std::istringstream in(text);
  std::string line;
  for (int n = 1; std::getline(in, line); ++n)
    if (line.find(part) != std::string::npos) return n;
  return 0;
}

}  // namespace rarotest

#endif
