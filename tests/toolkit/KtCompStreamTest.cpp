#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/RecordedMessages.h"
#include "tests/TestTools.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtCompStream.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtPathCheck.h"

namespace {

using testtools::takeMessages;

std::string slurp(std::istream& in) {
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return slurp(in);
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Runs a tool on argv with files given directly (no shell), for preparing
// compressed inputs.
void compressTo(const char* tool, const std::string& text, const std::string& path) {
  std::string plain = path + ".src";
  writeFile(plain, text);
  pid_t pid = fork();
  if (pid == 0) {
    std::freopen(plain.c_str(), "r", stdin);
    std::freopen(path.c_str(), "w", stdout);
    execlp(tool, tool, "-c", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  // compress answers 2 when its output did not shrink.
  ASSERT_TRUE(WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 2)) << tool;
  unlink(plain.c_str());
}

class CompStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ktcompstreamXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    pipeDir = dir + "/pipes";
    mkdir(pipeDir.c_str(), 0700);
    const char* tmp = std::getenv("TMPDIR");
    hadTmp = tmp != nullptr;
    if (tmp) savedTmp = tmp;
    setenv("TMPDIR", pipeDir.c_str(), 1);
    if (KtFileIsDirectory("/usr/tmp")) pipeDir = "/usr/tmp";
    savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    savedBuild = KtGetBuild();
    KtSetBuild(KtBuild::Motconv);
    theExceptObj.clear();
  }
  void TearDown() override {
    EXPECT_EQ(pipesLeft(), 0) << "a named pipe was left behind";
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "a tool process was not waited for";
    if (hadTmp)
      setenv("TMPDIR", savedTmp.c_str(), 1);
    else
      unsetenv("TMPDIR");
    setenv("PATH", savedPath.c_str(), 1);
    KtSetBuild(savedBuild);
    theExceptObj.clear();
    std::system(("rm -rf '" + dir + "'").c_str());
  }
  int pipesLeft() const {
    int count = 0;
    DIR* d = opendir(pipeDir.c_str());
    if (!d) return 0;
    std::string mine = "." + std::to_string(getpid());
    while (dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name.rfind("comp", 0) == 0 && name.size() > mine.size() &&
          name.compare(name.size() - mine.size(), mine.size(), mine) == 0)
        ++count;
    }
    closedir(d);
    return count;
  }
  std::string readThrough(const std::string& path, bool* compressed = nullptr) {
    KtCompIFStream in;
    in.open(path.c_str());
    EXPECT_TRUE(in.good()) << path;
    EXPECT_FALSE(theExceptObj.exceptionOccurred()) << path;
    if (compressed) *compressed = in.isCompressed();
    std::string text = slurp(in);
    in.close();
    EXPECT_FALSE(in.fail() && !in.eof()) << path;
    return text;
  }

  std::string dir, pipeDir, savedTmp, savedPath;
  bool hadTmp = false;
  KtBuild savedBuild = KtBuild::Motconv;
};

}  // namespace

TEST_F(CompStreamTest, ExtensionsAreCaseSensitiveAndNeedARealName) {
  EXPECT_STREQ(KtCompressionExtension("a.Z"), "Z");
  EXPECT_STREQ(KtCompressionExtension("a.gz"), "gz");
  EXPECT_STREQ(KtCompressionExtension("a.jpeg"), "jpeg");
  EXPECT_EQ(KtCompressionExtension(".gz"), nullptr);
  EXPECT_EQ(KtCompressionExtension(".Z"), nullptr);
  EXPECT_EQ(KtCompressionExtension("a.GZ"), nullptr);
  EXPECT_EQ(KtCompressionExtension("a.z"), nullptr);
  EXPECT_EQ(KtCompressionExtension("agz"), nullptr);
}

TEST_F(CompStreamTest, PlainFilesAndUpperCaseExtensionsAreReadAsTheyAre) {
  writeFile(dir + "/skel.asf", "plain text\n");
  bool compressed = true;
  EXPECT_EQ(readThrough(dir + "/skel.asf", &compressed), "plain text\n");
  EXPECT_FALSE(compressed);
  writeFile(dir + "/skel.asf.GZ", "not gzip data\n");
  EXPECT_EQ(readThrough(dir + "/skel.asf.GZ", &compressed), "not gzip data\n");
  EXPECT_FALSE(compressed);
}

TEST_F(CompStreamTest, MissingPlainNameFindsGzipBeforeCompress) {
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip", "compress", "uncompress");
  std::string base = dir + "/skel.asf";
  compressTo("compress", "from Z\n", base + ".Z");
  bool compressed = false;
  EXPECT_EQ(readThrough(base, &compressed), "from Z\n");
  EXPECT_TRUE(compressed);
  compressTo("gzip", "from gz\n", base + ".gz");
  EXPECT_EQ(readThrough(base), "from gz\n");
  EXPECT_EQ(readThrough(base + ".Z"), "from Z\n");
}

TEST_F(CompStreamTest, MissingCompressedFileFailsThroughTheReadCheck) {
  std::string path = dir + "/walk.amc.gz";
  KtCompIFStream in;
  in.open(path.c_str());
  EXPECT_TRUE(in.fail());
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"Unable to read \"" + path + "\".", "File does not exist."}));
  EXPECT_EQ(pipesLeft(), 0);
}

TEST_F(CompStreamTest, FileNamesWithShellCharactersAreReadAndRunNothing) {
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip");
  ASSERT_EQ(chdir(dir.c_str()), 0);
  for (std::string name : {"a;touch x.gz", "$(touch y).gz", "two words.gz", "-n.gz"}) {
    compressTo("gzip", "content of " + name + "\n", dir + "/" + name);
    EXPECT_EQ(readThrough(name), "content of " + name + "\n");
  }
  EXPECT_FALSE(KtFileExists((dir + "/x").c_str()));
  EXPECT_FALSE(KtFileExists((dir + "/y").c_str()));
  ASSERT_EQ(chdir("/"), 0);
}

TEST_F(CompStreamTest, CorruptOrTruncatedInputFailsTheReadNamingToolAndFile) {
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip");
  std::string path = dir + "/bad.amc.gz";
  writeFile(path, "this is not gzip data at all\n");
  {
    KtCompIFStream in;
    in.open(path.c_str());
    EXPECT_FALSE(theExceptObj.exceptionOccurred());
    slurp(in);
    in.close();
    EXPECT_TRUE(in.fail());
    EXPECT_EQ(takeMessages(),
              (std::vector<std::string>{"Command 'gunzip' failed to uncompress\n'" + path + "'."}));
  }
  // A read that stops early still waits for a sound tool and succeeds.
  std::string big(200000, 'a');
  compressTo("gzip", big, dir + "/big.gz");
  KtCompIFStream in;
  in.open((dir + "/big.gz").c_str());
  char first = 0;
  in.get(first);
  EXPECT_EQ(first, 'a');
  in.close();
  EXPECT_FALSE(in.fail());
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
}

TEST_F(CompStreamTest, WritingThroughGzipAndCompressGivesReadableFiles) {
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip", "compress", "uncompress");
  for (std::string name : {"out.mov.gz", "out mov.Z"}) {
    std::string path = dir + "/" + name;
    {
      KtCompOFStream out;
      out.open(path.c_str());
      ASSERT_TRUE(out.good());
      out << "frame 1\nframe 2\n";
      out.close();
      EXPECT_TRUE(out.good());
    }
    EXPECT_FALSE(theExceptObj.exceptionOccurred());
    EXPECT_NE(readFile(path), "frame 1\nframe 2\n");
    EXPECT_EQ(readThrough(path), "frame 1\nframe 2\n");
  }
  // Plain output.
  KtCompOFStream out;
  out.open((dir + "/plain.mov").c_str());
  out << "p\n";
  out.close();
  EXPECT_EQ(readFile(dir + "/plain.mov"), "p\n");
}

TEST_F(CompStreamTest, MissingToolsAreReportedWithoutCreatingFiles) {
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip");
  std::string in = dir + "/in.gz";
  compressTo("gzip", "x", in);
  std::string out = dir + "/out.mov.Z";
  setenv("PATH", "", 1);
  {
    KtCompOFStream stream;
    stream.open(out.c_str());
    EXPECT_TRUE(stream.fail());
  }
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"Cannot find command 'compress' to compress\n'" + out +
                                      "'.\nThis command needs to be in your path."}));
  EXPECT_FALSE(KtFileExists(out.c_str()));

  setenv("PATH", (dir + ":/nonexistent").c_str(), 1);
  {
    KtCompIFStream stream;
    stream.open(in.c_str());
    EXPECT_TRUE(stream.fail());
  }
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"Cannot find command 'gunzip' to uncompress\n'" + in +
                                      "'.\nThis command needs to be in your path."}));
  unsetenv("PATH");
  {
    KtCompIFStream stream;
    stream.open(in.c_str());
    EXPECT_TRUE(stream.fail());
  }
  EXPECT_EQ(takeMessages().size(), 1u);

  // Leading empty entries are skipped, the tool is still found.
  setenv("PATH", ("::" + savedPath).c_str(), 1);
  EXPECT_EQ(readThrough(in), "x");
}

TEST_F(CompStreamTest, AFailingCompressorFailsTheSave) {
  std::string bin = dir + "/bin";
  mkdir(bin.c_str(), 0755);
  writeFile(bin + "/gzip", "#!/bin/sh\ncat >/dev/null\nexit 1\n");
  chmod((bin + "/gzip").c_str(), 0755);
  setenv("PATH", (bin + ":" + savedPath).c_str(), 1);
  std::string path = dir + "/out.mov.gz";
  writeFile(path, "previous");
  KtCompOFStream out;
  out.open(path.c_str());
  ASSERT_TRUE(out.good());
  out << "frame\n";
  out.close();
  EXPECT_TRUE(out.fail());
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"Command 'gzip' failed to compress\n'" + path + "'."}));
  // The compressed file is replaced whole or not at all.
  EXPECT_EQ(readFile(path), "previous");
  DIR* listing = opendir(dir.c_str());
  int temporaries = 0;
  while (dirent* e = readdir(listing)) temporaries += std::strstr(e->d_name, ".tmp-") != nullptr;
  closedir(listing);
  EXPECT_EQ(temporaries, 0);

  // A compressor that dies without reading fails the save instead of ending
  // the program through a broken pipe.
  writeFile(bin + "/gzip", "#!/bin/sh\nexit 0\n");
  KtCompOFStream early;
  early.open(path.c_str());
  ASSERT_TRUE(early.good());
  std::string line(1000, 'x');
  for (int i = 0; i < 1000 && early.good(); i++) early << line << '\n';
  early.close();
  EXPECT_TRUE(early.fail());
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"Command 'gzip' failed to compress\n'" + path + "'."}));
}

TEST_F(CompStreamTest, TwoCompressedOutputsOpenAtOnceBothFinish) {
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip");
  std::string first = dir + "/one.gz", second = dir + "/two.gz";
  KtCompOFStream a, b;
  a.open(first.c_str());
  b.open(second.c_str());
  a << "one\n";
  b << "two\n";
  a.close();
  b.close();
  EXPECT_FALSE(a.fail() || b.fail());
  EXPECT_EQ(readThrough(first), "one\n");
  EXPECT_EQ(readThrough(second), "two\n");
}

TEST_F(CompStreamTest, JpegFilesRunTheToolWithItsFlags) {
  std::string bin = dir + "/bin";
  mkdir(bin.c_str(), 0755);
  std::string log = dir + "/args.log";
  writeFile(bin + "/djpeg", "#!/bin/sh\necho \"$@\" >'" + log + "'\necho decoded\n");
  chmod((bin + "/djpeg").c_str(), 0755);
  std::string image = dir + "/face.jpeg";
  writeFile(image, "jpeg bytes");
  setenv("PATH", (":" + bin + ":" + savedPath).c_str(), 1);
  EXPECT_EQ(readThrough(image), "decoded\n");
  EXPECT_EQ(readFile(log), "-gsi " + image + "\n");
}

TEST_F(CompStreamTest, AnExistingPipeNameIsNeverOpened) {
  RC_SKIP_WITHOUT_TOOLS("gzip");
  std::string path = dir + "/in.gz";
  compressTo("gzip", "x", path);
  KtCompIFStream in;  // takes the next instance number
  int instance = KtCompIFStream::_next_instance - 1;
  std::string squatted =
      pipeDir + "/compifstream" + std::to_string(instance) + "." + std::to_string(getpid());
  writeFile(squatted, "someone else's file");
  in.open(path.c_str());
  EXPECT_TRUE(in.fail());
  EXPECT_EQ(takeMessages(),
            (std::vector<std::string>{"Unable to create named pipe \"" + squatted + "\".",
                                      "File exists"}));
  EXPECT_EQ(readFile(squatted), "someone else's file");
  unlink(squatted.c_str());
}
