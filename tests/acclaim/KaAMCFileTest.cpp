// Reading and saving AMC files: the messages naming the file, compressed
// files and the first-frame read.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "acclaim/KaAMC.h"
#include "tests/TestTools.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

namespace {

const char* header = ":FULLY-SPECIFIED\n:DEGREES\n";

// The messages of the recorded chain, newest first, one per line, with the
// path P written as "F".
std::string chain(const std::string& path = "") {
  std::string text;
  for (KtExcept* e = theExceptObj.exception(); e; e = e->detail()) {
    text += e->message().text();
    text += "\n";
  }
  theExceptObj.clear();
  if (!path.empty()) {
    for (std::size_t at; (at = text.find(path)) != std::string::npos;)
      text.replace(at, path.size(), "F");
  }
  return text;
}

// A fresh directory, removed with its contents; reads run in motconv's
// build, whose streams decompress.
class TempDir {
 public:
  TempDir() : _build(KtGetBuild()) {
    KtSetBuild(KtBuild::Motconv);
    char pattern[] = "/tmp/kaamcfileXXXXXX";
    path = mkdtemp(pattern) ? pattern : "";
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    KtSetBuild(_build);
  }
  std::string file(const std::string& name) const { return path + "/" + name; }
  std::string path;

 private:
  KtBuild _build;
};

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void gzipTo(const std::string& text, const std::string& path) {
  std::string plain = path + ".src";
  writeFile(plain, text);
  std::string command = "gzip -c <'" + plain + "' >'" + path + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::remove(plain.c_str());
}

// A take of n frames of two bones.
std::string take(int n) {
  std::string text = header;
  for (int i = 1; i <= n; i++)
    text += std::to_string(i) + "\nroot 1.25 2 3 4 5 " + std::to_string(i) + "\nhead 0.5 -7\n";
  return text;
}

// Reads text as the file walk.amc; the chain has the path as F.
std::string readText(const std::string& text, KaAMC* motion) {
  TempDir dir;
  std::string path = dir.file("walk.amc");
  writeFile(path, text);
  motion->read(path.c_str());
  return chain(path);
}

}  // namespace

TEST(KaAMCFile, AFileThatCannotBeOpenedIsNamed) {
  TempDir dir;
  std::string path = dir.file("none.amc");
  KaAMC motion;
  motion.read(path.c_str());
  EXPECT_EQ(chain(path), "Unable to open 'F'.\nUnable to read \"F\".\nFile does not exist.\n");
  motion.readFirstField(path.c_str());
  EXPECT_EQ(chain(path), "Unable to open 'F'.\nUnable to read \"F\".\nFile does not exist.\n");
}

TEST(KaAMCFile, ReadFailuresCarryTheFileLine) {
  struct Case {
    std::string text;
    const char* chain;
  } cases[] = {
      {"", "Unable to read 'F'.\nFile does not contain amc data.\nError reading file.\n"},
      {"# only\n:FULLY-SPECIFIED\n:RADIANS\n",
       "Unable to read 'F'.\nFile does not contain amc data.\nError reading file.\n"},
      {":DEGREES\n1\nroot 1\n",
       "Unable to read 'F'.\nFile does not contain amc data.\nFile does not specify mode.\n"},
      {":FULLY-SPECIFIED\n1\nroot 1\n",
       "Unable to read 'F'.\nFile does not contain amc data.\nFile does not specify units.\n"},
      {":FULLY-SPECIFIED\n:POSITIONS\n1\n",
       "Unable to read 'F'.\nFile does not contain amc data.\n"
       "Unrecognized key word \"POSITIONS\".\n"},
      {std::string(header) + "root 1\n",
       "Unable to read 'F'.\nUnable to read field.\nUnable to read field number.\n"},
      {std::string(header) + "1\nroot 1\nhead 2\n2\nroot 1\nneck 2\n",
       "Unable to read 'F'.\nUnable to read field.\n"
       "Frame 2 lists bone 'neck', which the first frame does not have.\n"},
      {std::string(header) + "1\nroot 1\nhead 2\n2\nhead 1\nHEAD 2\n",
       "Unable to read 'F'.\nUnable to read field.\nFrame 2 lists bone 'HEAD' twice.\n"},
      {std::string(header) + "1\nroot 1\nhead 2\n2\nroot 1\n3\nroot 1\nhead 2\n",
       "Unable to read 'F'.\nUnable to read field.\nFrame 2 lacks bone 'head'.\n"},
  };
  for (const Case& c : cases) {
    KaAMC motion;
    EXPECT_EQ(readText(c.text, &motion), c.chain) << c.text;
  }
}

TEST(KaAMCFile, AFailedReadKeepsNoFrames) {
  KaAMC motion;
  EXPECT_EQ(readText(take(3), &motion), "");
  ASSERT_EQ(motion.fields.count(), 3);
  EXPECT_EQ(readText(take(3) + "4\nroot 1\n", &motion),
            "Unable to read 'F'.\nUnable to read field.\n"
            "The file ends inside frame 4, before bone 'head'.\n");
  EXPECT_EQ(motion.fields.count(), 0);
  EXPECT_EQ(motion.boneNames.count(), 0);
}

TEST(KaAMCFile, ReadFirstFieldReadsOneFrameAndConsumesTheFile) {
  std::signal(SIGPIPE, SIG_IGN);
  TempDir dir;
  std::string text = take(1000);
  // Through a pipe whose writer learns how much was taken: a reader that
  // stopped after the first frame would leave the writer blocked until the
  // pipe closed, and the rest unwritten.
  std::string fifo = dir.file("walk.amc");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::size_t written = 0;
  std::thread writer([&] {
    int fd = open(fifo.c_str(), O_WRONLY);
    if (fd < 0) return;
    while (written < text.size()) {
      ssize_t n = write(fd, text.data() + written, text.size() - written);
      if (n <= 0) break;
      written += std::size_t(n);
    }
    close(fd);
  });
  KaAMC motion;
  motion.readFirstField(fifo.c_str());
  writer.join();
  EXPECT_EQ(chain(fifo), "");
  EXPECT_EQ(written, text.size());
  ASSERT_EQ(motion.fields.count(), 1);
  EXPECT_EQ(motion.fields[0].number, 1);
  ASSERT_EQ(motion.boneNames.count(), 2);
  EXPECT_EQ(motion.fields[0].bones[0].values[5], 1.0f);

  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip");
  // The same from a compressed file: the tool runs to its end and succeeds.
  std::string gz = dir.file("long.amc.gz");
  gzipTo(text, gz);
  KaAMC first;
  first.readFirstField(gz.c_str());
  EXPECT_EQ(chain(gz), "");
  EXPECT_EQ(first.fields.count(), 1);
}

TEST(KaAMCFile, APlainNameFindsItsCompressedFile) {
  TempDir dir;
  KaAMC plain;
  plain.read(RC_DATA_DIR "/cmu/lambada.amc");
  ASSERT_EQ(chain(), "");
  ASSERT_EQ(plain.fields.count(), 2180);
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip");
  gzipTo(readFile(RC_DATA_DIR "/cmu/lambada.amc"), dir.file("walk.amc.gz"));
  KaAMC motion;
  motion.read(dir.file("walk.amc").c_str());
  ASSERT_EQ(chain(), "");
  ASSERT_EQ(motion.fields.count(), plain.fields.count());
  ASSERT_EQ(motion.boneNames.count(), plain.boneNames.count());
  for (int f = 0; f < plain.fields.count(); f += 97) {
    EXPECT_EQ(motion.fields[f].number, plain.fields[f].number);
    for (int b = 0; b < plain.boneNames.count(); b++) {
      const KaAMCValues& want = plain.fields[f].bones[b].values;
      const KaAMCValues& got = motion.fields[f].bones[b].values;
      ASSERT_EQ(got.count(), want.count());
      for (int v = 0; v < want.count(); v++) EXPECT_EQ(got[v], want[v]);
    }
  }
  // Saved compressed and read back through the same streams.
  KaAMC again;
  motion.save(dir.file("copy.amc.gz").c_str());
  ASSERT_EQ(chain(), "");
  again.read(dir.file("copy.amc").c_str());
  ASSERT_EQ(chain(), "");
  EXPECT_EQ(again.fields.count(), 2180);
}

TEST(KaAMCFile, AFailedDecompressionFailsTheRead) {
  TempDir dir;
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip");
  // Not compressed data at all: the tool writes nothing and fails.
  std::string junk = dir.file("junk.amc.gz");
  writeFile(junk, "this is not compressed\n");
  KaAMC motion;
  motion.read(junk.c_str());
  EXPECT_EQ(chain(junk),
            "Unable to read 'F'.\nCommand 'gunzip' failed to uncompress\n'F'.\n"
            "File does not contain amc data.\nError reading file.\n");

  // Whole data with a broken check sum: the frames read fine, yet the
  // tool fails at the end, and the read with it.
  std::string bad = dir.file("crc.amc.gz");
  gzipTo(take(50), bad);
  std::string bytes = readFile(bad);
  ASSERT_GT(bytes.size(), 8u);
  bytes[bytes.size() - 8] ^= 0x55;
  writeFile(bad, bytes);
  motion.read(bad.c_str());
  EXPECT_EQ(chain(bad), "Unable to read 'F'.\nCommand 'gunzip' failed to uncompress\n'F'.\n");
  EXPECT_EQ(motion.fields.count(), 0);
  motion.readFirstField(bad.c_str());
  EXPECT_EQ(chain(bad), "Unable to read 'F'.\nCommand 'gunzip' failed to uncompress\n'F'.\n");
  EXPECT_EQ(motion.fields.count(), 0);
}

TEST(KaAMCFile, SaveFailuresCarryTheFileLine) {
  TempDir dir;
  KaAMC motion;
  KtDArray<KtStr> names(2);
  names[0] = "root";
  names[1] = "head";
  motion.setBoneNames(names);
  float values[] = {1, 2};
  motion.createField(1)->setBoneValues(0, values, 2);
  motion.createField(5)->setNumBones(1);
  // A motion whose writing fails is not put in place: the previous file
  // stays whole.
  std::string path = dir.file("out.amc");
  writeFile(path, "previous\n");
  motion.save(path.c_str());
  EXPECT_EQ(
      chain(path),
      "Unable to write 'F'.\n"
      "The number of bones in field 5 differs from the number of bones in previous fields.\n");
  EXPECT_EQ(readFile(path), "previous\n");

  std::string unwritable = dir.file("missing/out.amc");
  motion.save(unwritable.c_str());
  EXPECT_EQ(chain(), "File \"" + unwritable + "\" is unwritable.\nParent directory \"" +
                         dir.file("missing") + "\" does not exist.\n");

  // A device that takes nothing: the writes fail part way through a long
  // take.
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  KaAMC take;
  take.read(RC_DATA_DIR "/cmu/lambada.amc");
  ASSERT_EQ(chain(), "");
  take.save("/dev/full");
  std::string failed = chain();
  EXPECT_EQ(failed.rfind("Unable to write '/dev/full'.\nUnable to write field.\n"
                         "Unable to write bone information.\nUnable to write ",
                         0),
            0u)
      << failed;
}

TEST(KaAMCFile, AByteOrderMarkAtTheStartOfAPlainOrCompressedFileIsSkipped) {
  TempDir dir;
  const std::string text = "\xEF\xBB\xBF" + take(2);
  std::string plain = dir.file("m.amc");
  writeFile(plain, text);
  std::string gz = dir.file("z.amc.gz");
  gzipTo(text, gz);
  for (const std::string& path : {plain, gz}) {
    KaAMC motion;
    motion.read(path.c_str());
    EXPECT_EQ(chain(path), "") << path;
    ASSERT_EQ(motion.fields.count(), 2) << path;
    EXPECT_STREQ(motion.boneNames[0].text(), "root");
    EXPECT_EQ(motion.fields[1].bones[0].values[5], 2.0f);
    EXPECT_EQ(KaAMC::fileContainsAMC(path.c_str()), 1) << path;
    EXPECT_EQ(chain(path), "");
  }
  // A value that is not finite is reported on the line it has without the mark.
  writeFile(plain, "\xEF\xBB\xBF" + take(2) + "3\nroot 1 -nan\n");
  KaAMC motion;
  motion.read(plain.c_str());
  EXPECT_EQ(chain(plain),
            "Unable to read 'F'.\nUnable to read field.\n"
            "Line 10:  Unable to read bone 'root' for field 3.\n"
            "Number '-nan' is not finite.\n");
  // The first-frame read of a compressed file reads its pipe a character at
  // a time, and counts the same lines.
  gzipTo("\xEF\xBB\xBF# take\n" + std::string(header) + "\n1\nroot 1\n\nhead 2 inf\n", gz);
  motion.readFirstField(gz.c_str());
  EXPECT_EQ(chain(gz),
            "Unable to read 'F'.\nUnable to read field.\n"
            "Line 8:  Unable to read bone 'head' for field 1.\n"
            "Number 'inf' is not finite.\n");
}
