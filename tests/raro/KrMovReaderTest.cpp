// The MOV reader: what motconv writes gives one row a scene frame, from the
// take's first frame on, each the time and one number per bound axis;
// blank lines and comments are skipped; a line that is not numbers, has a
// column more or less or lies off its scene frame is refused with the file
// and the line.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "raro/KrJointScriptReader.h"
#include "raro/KrMovReader.h"
#include "tests/raro/ConvertedTake.h"
#include "toolkit/KtExcept.h"

using rarotest::messages;

namespace {

KrTake takeAt(int fps, long firstFrame) {
  KrTake take;
  take.fps = fps;
  take.firstFrame = firstFrame;
  return take;
}

}  // namespace

TEST(KrMovReader, ReadsWhatMotconvWrites) {
  theExceptObj.clear();
  for (const rarotest::ConvertedTake& take : rarotest::convertedTakes()) {
    SCOPED_TRACE(take.name);
    KrScene scene;
    ASSERT_TRUE(KrReadJointScript(take.jointScript, "s.mel", &scene));
    KrTake facts;
    ASSERT_TRUE(KrReadImportScript(take.importScript, "t.mel", &scene, &facts));
    KrMov mov;
    ASSERT_TRUE(KrReadMov(take.mov, "t.mov", facts, scene.axesNeeded(), &mov));
    EXPECT_FALSE(theExceptObj.errorOccurred());
    EXPECT_EQ(mov.columns, scene.axesNeeded() + 1);
    EXPECT_EQ(mov.frames(), rarotest::linesStartingWith(take.mov, ""));
    ASSERT_GT(mov.frames(), 100);
    // Row f is scene frame first + f (the times are written to six
    // digits); its numbers are the line's.
    for (int f : {0, 1, mov.frames() - 1})
      EXPECT_NEAR(mov.row(f)[0] * take.fps, (double)(take.firstFrame + f), 0.01) << "row " << f;
    std::istringstream firstLine(take.mov.substr(0, take.mov.find('\n')));
    for (int k = 0; k < mov.columns; ++k) {
      double v = 0;
      firstLine >> v;
      EXPECT_EQ(mov.row(0)[k], v) << "column " << k;
    }
  }
}

TEST(KrMovReader, SkipsBlankLinesAndComments) {
  theExceptObj.clear();
  KrMov mov;
  ASSERT_TRUE(KrReadMov("// two frames\n\n0.2 1 2\r\n  \t\n  // the second\n0.24 3 4.5\n\n",
                        "t.mov", takeAt(25, 5), 2, &mov));
  EXPECT_FALSE(theExceptObj.errorOccurred());
  EXPECT_EQ(mov.columns, 3);
  ASSERT_EQ(mov.frames(), 2);
  EXPECT_EQ(mov.row(1)[0], 0.24);
  EXPECT_EQ(mov.row(1)[2], 4.5);
}

TEST(KrMovReader, ReadsLongTakesWhoseTimesSixDigitsCannotHoldExactly) {
  // Scene frames 3003 to 3005 at 30 frames a second as motconv writes their
  // times: 100.1, 100.133 (100.1333...) and 100.167 (100.1666...).
  theExceptObj.clear();
  std::string text;
  for (int f = 1; f <= 3002; ++f) {
    char line[64];
    std::snprintf(line, sizeof line, "%g 1\n", f / 30.0);
    text += line;
  }
  text += "100.1 1\n100.133 1\n100.167 1\n";
  KrMov mov;
  ASSERT_TRUE(KrReadMov(text, "t.mov", takeAt(30, 1), 1, &mov)) << messages()[1];
  EXPECT_EQ(mov.frames(), 3005);
  // A line a frame off is still refused: 100.2 is frame 3006.
  text += "100.233 1\n";
  EXPECT_FALSE(KrReadMov(text, "t.mov", takeAt(30, 1), 1, &mov));
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"Unable to read MOV file 't.mov'.",
                                      "Line 3006:  Expected time 100.2, found 100.233."}));
}

TEST(KrMovReader, RefusesWhatItDoesNotKnowWithFileAndLine) {
  struct Case {
    const char* label;
    const char* text;
    const char* line;
  };
  // Two axes bound, 30 frames a second from frame 1.
  const Case cases[] = {
      {"a column less", "0.0333333 1 2\n0.0666667 1 2\n\n0.1 1\n",
       "Line 4:  Expected 3 numbers, found 2."},
      {"a column more", "0.0333333 1 2\n0.0666667 1 2 3\n",
       "Line 2:  Expected 3 numbers, found 4."},
      {"fewer columns than the axes bound", "0.0333333 1\n",
       "Line 1:  Expected 3 numbers, found 2."},
      {"not a number", "0.0333333 1 2\n0.0666667 1 two\n",
       "Line 2:  Expected a number, found 'two'."},
      {"not a finite number", "0.0333333 1 nan\n", "Line 1:  Expected a number, found 'nan'."},
      {"a frame left out", "0.0333333 1 2\n0.1 1 2\n",
       "Line 2:  Expected time 0.0666667, found 0.1."},
      {"no frames", "\n// nothing\n", "Line 2:  No frames."},
  };
  theExceptObj.clear();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    KrMov mov;
    EXPECT_FALSE(KrReadMov(c.text, "t.mov", takeAt(30, 1), 2, &mov));
    EXPECT_EQ(messages(), (std::vector<std::string>{"Unable to read MOV file 't.mov'.", c.line}));
  }
}
