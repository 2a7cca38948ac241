// Reading a take one frame at a time: the same frames as the whole-file
// reader, the failures at the frame where they are, the file closed.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "acclaim/KaAMC.h"
#include "acclaim/KaAMCFrameReader.h"
#include "tests/TestTools.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

namespace {

const char* header = ":FULLY-SPECIFIED\n:RADIANS\n";

// The messages of the recorded chain, newest first, one per line.
std::string chain() {
  std::string text;
  for (KtExcept* e = theExceptObj.exception(); e; e = e->detail()) {
    text += e->message().text();
    text += "\n";
  }
  theExceptObj.clear();
  return text;
}

std::string scratchFile(const std::string& name, const std::string& text) {
  std::string path = std::string("/tmp/kaamcframe-") + std::to_string((long)getpid()) + "-" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// Frame number, then each entry's values, in slot order.
std::string describe(const KaAMCField& frame) {
  std::ostringstream s;
  s << frame.number << ":";
  for (const KaAMCBone& bone : frame.bones) {
    s << " " << (bone.name ? bone.name->text() : "?");
    for (float v : bone.values) s << " " << v;
  }
  return s.str();
}

TEST(KaAMCFrameReader, FramesComeOneAtATimeAsTheWholeFileReaderHoldsThem) {
  KtSetBuild(KtBuild::Motconv);
  KaAMC whole;
  whole.read(RC_DATA_DIR "/cmu/lambada.amc");
  ASSERT_EQ(chain(), "");
  KaAMCFrameReader reader;
  ASSERT_TRUE(reader.open(RC_DATA_DIR "/cmu/lambada.amc"));
  EXPECT_EQ(reader.degrees(), whole.degrees);
  // One frame object for the whole take.
  KaAMCField frame;
  int n = 0;
  while (reader.next(&frame)) {
    ASSERT_LT(n, whole.fields.count());
    ASSERT_EQ(describe(frame), describe(whole.fields[n])) << n;
    n++;
  }
  EXPECT_TRUE(reader.close());
  EXPECT_EQ(chain(), "");
  EXPECT_EQ(n, whole.fields.count());
  EXPECT_EQ(reader.framesRead(), n);
  ASSERT_EQ(reader.boneNames().count(), whole.boneNames.count());
}

TEST(KaAMCFrameReader, LaterFramesAreMatchedByNameAndAFailureComesAtItsFrame) {
  std::istringstream in(std::string(header) +
                        "1\nroot 1 2\nhead 3\n2\nHEAD 4\nroot 5 6\n3\nroot 7\nneck 8\n4\nroot 9\n");
  KaAMCFrameReader reader;
  ASSERT_TRUE(reader.start(in));
  EXPECT_EQ(reader.degrees(), 0);
  KaAMCField frame;
  ASSERT_TRUE(reader.next(&frame));
  EXPECT_EQ(describe(frame), "1: root 1 2 head 3");
  ASSERT_TRUE(reader.next(&frame));
  EXPECT_EQ(describe(frame), "2: root 5 6 head 4");
  EXPECT_EQ(frame.boneNames, &reader.boneNames());
  EXPECT_FALSE(reader.next(&frame));
  EXPECT_TRUE(reader.failed());
  EXPECT_EQ(chain(),
            "Unable to read field.\nFrame 3 lists bone 'neck', which the first frame does not "
            "have.\n");
  EXPECT_FALSE(reader.next(&frame));
  EXPECT_EQ(chain(), "");
}

TEST(KaAMCFrameReader, AFileWhoseLastLineHasNoLineBreakIsNamedInAWarning) {
  std::string cut = scratchFile("cut.amc", std::string(header) + "1\nroot 1 2\n2\nroot 3 4.5");
  std::string blank = scratchFile("blank.amc", std::string(header) + "1\nroot 1 2\n  \t");
  std::string bad = scratchFile("bad.amc", std::string(header) + "1\nroot 1 2\n2\nnext 3");
  KaAMC motion;
  motion.read(cut.c_str());
  EXPECT_EQ(chain(), "The file \"" + cut +
                         "\" does not end with a line break; its last frame may be cut short.\n");
  ASSERT_EQ(motion.fields.count(), 2);
  EXPECT_EQ(motion.fields[1].bones[0].values[1], 4.5f);
  // Blanks after the last line break end no frame; a failed read gets no warning.
  motion.read(blank.c_str());
  EXPECT_EQ(chain(), "");
  motion.read(bad.c_str());
  EXPECT_EQ(chain(), "Unable to read '" + bad +
                         "'.\nUnable to read field.\nFrame 2 lists bone 'next', which the first "
                         "frame does not have.\n");
  for (const std::string& path : {cut, blank, bad}) std::remove(path.c_str());
}

TEST(KaAMCFrameReader, ATakeReadThroughGunzipGivesThePlainFilesFrames) {
  KtSetBuild(KtBuild::Motconv);
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip");
  std::string text;
  {
    std::ifstream in(RC_DATA_DIR "/cmu/charleston1.amc", std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string plain = scratchFile("take.amc", text);
  std::string command = "gzip -c '" + plain + "' > '" + plain + ".gz'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  KaAMCFrameReader a, b;
  ASSERT_TRUE(a.open(plain.c_str()));
  ASSERT_TRUE(b.open((plain + ".gz").c_str()));
  KaAMCField fa, fb;
  int n = 0;
  for (;; n++) {
    bool ra = a.next(&fa), rb = b.next(&fb);
    ASSERT_EQ(ra, rb) << n;
    if (!ra) break;
    ASSERT_EQ(describe(fa), describe(fb)) << n;
  }
  EXPECT_GT(n, 100);
  EXPECT_TRUE(a.close());
  EXPECT_TRUE(b.close());
  EXPECT_EQ(chain(), "");
  std::remove(plain.c_str());
  std::remove((plain + ".gz").c_str());
}

}  // namespace
