#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "acclaim/KaAMC.h"
#include "toolkit/KtExcept.h"

namespace {

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

std::string read(KaAMC* motion, const std::string& text) {
  std::istringstream in(text);
  motion->scanFrom(in);
  return chain();
}

const char* header = ":FULLY-SPECIFIED\n:DEGREES\n";

// Serves its text and then fails: the next read past the text throws,
// which the stream turns into a hard failure. It cannot seek, as a pipe.
class FailingInput : public std::streambuf {
 public:
  explicit FailingInput(const std::string& text) : _text(text) {
    setg(_text.data(), _text.data(), _text.data() + _text.size());
  }

 protected:
  int_type underflow() override { throw std::ios_base::failure("read error"); }

 private:
  std::string _text;
};

// Takes limit characters and then refuses every further one.
class FailingOutput : public std::streambuf {
 public:
  explicit FailingOutput(std::size_t limit) : _limit(limit) {}

 protected:
  int_type overflow(int_type c) override {
    if (_taken == _limit) return traits_type::eof();
    _taken++;
    return traits_type::not_eof(c);
  }

 private:
  std::size_t _limit;
  std::size_t _taken = 0;
};

// True when the two floats are the same value (any NaN matching any NaN).
bool sameFloat(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// A decimal number as a writer might put it: up to nine digits with the
// point anywhere, a sign, sometimes an exponent.
std::string randomNumber(std::mt19937& random) {
  std::uniform_int_distribution<int> digitCount(1, 9), digit(0, 9), coin(0, 3), exponent(-30, 30);
  int n = digitCount(random);
  std::string digits;
  for (int i = 0; i < n; i++) digits += char('0' + digit(random));
  std::uniform_int_distribution<int> point(0, n);
  int at = point(random);
  std::string text = coin(random) == 0 ? "-" : "";
  text += digits.substr(0, at);
  if (at < n || coin(random) == 0) text += "." + digits.substr(at);
  if (text == "." || text == "-.") text += "0";
  if (coin(random) == 0) text += (coin(random) == 0 ? "E" : "e") + std::to_string(exponent(random));
  return text;
}

// The values a text of one frame gives, one list per bone line.
std::vector<std::vector<float>> frameValues(const std::string& lines) {
  KaAMC motion;
  std::istringstream in(std::string(header) + "1\n" + lines);
  motion.scanFrom(in);
  std::vector<std::vector<float>> result;
  if (motion.fields.count() != 1) return result;
  for (const KaAMCBone& bone : motion.fields[0].bones)
    result.emplace_back(bone.values.begin(), bone.values.end());
  return result;
}

}  // namespace

TEST(KaAMC, HeaderFailuresGiveTheirReasons) {
  struct Case {
    const char* text;
    const char* reason;
  } cases[] = {
      {"", "Error reading file."},
      {":FULLY-SPECIFIED\n:DEGREES\n", "Error reading file."},
      {":DEGREES\n1\nroot 1\n", "File does not specify mode."},
      {":FULLY-SPECIFIED\n1\nroot 1\n", "File does not specify units."},
      {":FULLY-SPECIFIED\n:POSITIONS\n1\n", "Unrecognized key word \"POSITIONS\"."},
  };
  for (const Case& c : cases) {
    KaAMC motion;
    EXPECT_EQ(read(&motion, c.text),
              std::string("File does not contain amc data.\n") + c.reason + "\n")
        << c.text;
  }
}

TEST(KaAMC, KeywordsInAnyCaseAndCommentsAreAccepted) {
  KaAMC motion;
  EXPECT_EQ(
      read(&motion, "# a comment\n  :fully-Specified  \n#x\n:RADIANS\n: Degrees\n1\nroot 1 2\n"),
      "");
  EXPECT_EQ(motion.degrees, 1);
  ASSERT_EQ(motion.fields.count(), 1);
  EXPECT_EQ(motion.fields[0].bones[0].values.count(), 2);
}

TEST(KaAMC, FirstDataLineThatIsNotANumberFails) {
  KaAMC motion;
  EXPECT_EQ(read(&motion, std::string(header) + "root 1 2\n"),
            "Unable to read field.\nUnable to read field number.\n");
  EXPECT_EQ(motion.fields.count(), 0);
}

TEST(KaAMC, BoneLineValuesStopAtTheFirstTextThatIsNotANumber) {
  KaAMC motion;
  EXPECT_EQ(read(&motion, std::string(header) + "1\nroot 1 2 x 3\nhead\n"), "");
  const KaAMCField& f = motion.fields[0];
  ASSERT_EQ(f.bones[0].values.count(), 2);
  EXPECT_EQ(f.bones[0].values[1], 2.0f);
  EXPECT_EQ(f.bones[1].values.count(), 0);
  EXPECT_STREQ(f.bones[1].name->text(), "head");
}

TEST(KaAMC, AWordAfterTheFrameNumberIsTheFirstBone) {
  KaAMC motion;
  EXPECT_EQ(read(&motion, std::string(header) + "7 root 1 2\nhead 3\n"), "");
  ASSERT_EQ(motion.fields.count(), 1);
  EXPECT_EQ(motion.fields[0].number, 7);
  ASSERT_EQ(motion.boneNames.count(), 2);
  EXPECT_STREQ(motion.boneNames[0].text(), "root");
  EXPECT_STREQ(motion.boneNames[1].text(), "head");
  const KaAMCField& f = motion.fields[0];
  ASSERT_EQ(f.bones[0].values.count(), 2);
  EXPECT_EQ(f.bones[0].values[0], 1.0f);
  EXPECT_EQ(f.bones[0].values[1], 2.0f);
  ASSERT_EQ(f.bones[1].values.count(), 1);
  EXPECT_EQ(f.bones[1].values[0], 3.0f);
}

TEST(KaAMC, LongLinesAreReadWhole) {
  std::string name(300, 'b');
  std::string values;
  for (int i = 0; i < 100; i++) values += " " + std::to_string(i) + ".5";
  // A comment of 300 characters, a keyword padded to 200: neither is cut
  // into a second line.
  std::string text = "#" + std::string(300, ':') + "\n:FULLY-SPECIFIED" + std::string(200, ' ') +
                     "\n:DEGREES\n1\n" + name + values + "\nhead 2\n2\nhead 3\n" + name + values +
                     values + "\n";
  KaAMC motion;
  EXPECT_EQ(read(&motion, text), "");
  ASSERT_EQ(motion.boneNames.count(), 2);
  EXPECT_EQ(motion.boneNames[0].length(), 300);
  ASSERT_EQ(motion.fields.count(), 2);
  const KaAMCValues& first = motion.fields[0].bones[0].values;
  ASSERT_EQ(first.count(), 100);
  EXPECT_EQ(first[99], 99.5f);
  const KaAMCValues& second = motion.fields[1].bones[0].values;
  ASSERT_EQ(second.count(), 200);
  EXPECT_EQ(second[150], 50.5f);
  EXPECT_EQ(motion.fields[1].bones[1].values[0], 3.0f);
}

TEST(KaAMC, LaterFramesAreStoredInTheFirstFramesOrderByName) {
  KaAMC motion;
  EXPECT_EQ(read(&motion, std::string(header) + "1\nroot 1\nhead 2\n2\nHEAD 4\nroot 3\n"), "");
  ASSERT_EQ(motion.fields.count(), 2);
  const KaAMCField& f = motion.fields[1];
  EXPECT_EQ(f.bones[0].name, &motion.boneNames[0]);
  EXPECT_EQ(f.bones[0].values[0], 3.0f);
  EXPECT_EQ(f.bones[1].values[0], 4.0f);
}

TEST(KaAMC, FramesThatDoNotListTheFirstFramesBonesAreRefused) {
  std::string first = std::string(header) + "1\nroot 1\nhead 2\n";
  struct Case {
    const char* frame;
    const char* message;
  } cases[] = {
      {"2\nroot 1\nneck 2\n", "Frame 2 lists bone 'neck', which the first frame does not have.\n"},
      {"2\nroot 1\nroot 2\n", "Frame 2 lists bone 'root' twice.\n"},
      {"2\nroot 1\n3\nroot 1\nhead 2\n", "Frame 2 lacks bone 'head'.\n"},
      // At the end of the input the frame is cut short, and says so.
      {"2\nroot 1\n", "The file ends inside frame 2, before bone 'head'.\n"},
      {"2\nroot 1\nhead", "The file ends inside frame 2, before bone 'head'.\n"},
  };
  for (const Case& c : cases) {
    KaAMC motion;
    EXPECT_EQ(read(&motion, first + c.frame), std::string("Unable to read field.\n") + c.message);
    EXPECT_EQ(motion.fields.count(), 0);
  }
}

TEST(KaAMC, PartialReadLeavesTheStreamAtTheNextFrame) {
  std::string text = std::string(header);
  for (int i = 1; i <= 1000; i++) text += std::to_string(i) + "\nroot 1 2 3\nhead 4\n";
  std::istringstream in(text);
  KaAMC motion;
  motion._scanFrom(in, 1);
  EXPECT_EQ(chain(), "");
  EXPECT_EQ(motion.fields.count(), 1);
  int next = 0;
  in >> next;
  EXPECT_EQ(next, 2);
}

TEST(KaAMC, WritingReproducesTheText) {
  KaAMC motion;
  EXPECT_EQ(read(&motion, ":FULLY-SPECIFIED\n:RADIANS\n1\nroot 1.5 -2 1234567\nhead\n"), "");
  std::ostringstream out;
  motion.printOn(out);
  EXPECT_EQ(out.str(), ":FULLY-SPECIFIED\n:RADIANS\n1\nroot 1.5 -2 1.23457e+06 \nhead \n");
}

TEST(KaAMC, WritingFramesOfDifferentLengthFailsAfterWritingThem) {
  KaAMC motion;
  KtDArray<KtStr> names(2);
  names[0] = "root";
  names[1] = "head";
  motion.setBoneNames(names);
  motion.createField(1);
  motion.createField(5)->setNumBones(1);
  std::ostringstream out;
  motion.printOn(out);
  EXPECT_EQ(
      chain(),
      "The number of bones in field 5 differs from the number of bones in previous fields.\n");
  EXPECT_EQ(out.str(), ":FULLY-SPECIFIED\n:DEGREES\n1\nroot \nhead \n5\nroot \n");
}

TEST(KaAMC, ACMUTakeRoundTripsToSixDigits) {
  std::ifstream file(RC_DATA_DIR "/cmu/charleston1.amc");
  ASSERT_TRUE(file.good());
  KaAMC motion;
  motion.scanFrom(file);
  ASSERT_EQ(chain(), "");
  EXPECT_EQ(motion.fields.count(), 506);
  std::stringstream text;
  motion.printOn(text);
  KaAMC again;
  again.scanFrom(text);
  ASSERT_EQ(chain(), "");
  // The text written again from what was read back is the same text.
  std::ostringstream second;
  again.printOn(second);
  EXPECT_TRUE(second.str() == text.str());
  ASSERT_EQ(again.fields.count(), motion.fields.count());
  for (int f = 0; f < motion.fields.count(); f++)
    for (int b = 0; b < motion.boneNames.count(); b++)
      for (int v = 0; v < motion.fields[f].bones[b].values.count(); v++) {
        float a = motion.fields[f].bones[b].values[v];
        EXPECT_NEAR(again.fields[f].bones[b].values[v], a, 5e-6 * std::fabs(a) + 1e-30);
      }
}

TEST(KaAMC, NumbersAreConvertedAsTheCLibraryConvertsThem) {
  std::vector<std::string> numbers = {"0",
                                      "-0",
                                      "0.",
                                      ".5",
                                      "-.5",
                                      "+3",
                                      "5.",
                                      "1E5",
                                      "1e-5",
                                      "0.000012345",
                                      "16777216",
                                      "16777217",
                                      "9999999",
                                      "99999999",
                                      "1e10",
                                      "1e11",
                                      "1.5e10",
                                      "123456.7",
                                      "1234567e-17",
                                      "3.4028235e38",
                                      "1e-50",
                                      "-1e-50",
                                      "1e-45",
                                      "0e999",
                                      "1e-999",
                                      "000123.4500",
                                      "0.0000000",
                                      "4.77549e-015",
                                      "-2.50966e-014",
                                      "1.00000005960464477539",
                                      "0.1",
                                      "0.3",
                                      "2.9604",
                                      "-27.07",
                                      "-5.95572",
                                      "89.6846",
                                      "1e+3",
                                      "7e0"};
  std::mt19937 random(7);
  // Numbers beyond the float range are refused (see below), not converted.
  for (int i = 0; i < 20000;) {
    std::string number = randomNumber(random);
    if (std::isfinite(std::strtof(number.c_str(), nullptr))) {
      numbers.push_back(number);
      i++;
    }
  }
  std::string lines;
  for (std::size_t i = 0; i < numbers.size(); i++)
    lines +=
        (i % 50 == 0 ? (i ? "\nb" : "b") + std::to_string(i) : std::string()) + " " + numbers[i];
  lines += "\n";
  std::vector<std::vector<float>> read = frameValues(lines);
  EXPECT_EQ(chain(), "");
  std::vector<float> values;
  for (const std::vector<float>& bone : read) values.insert(values.end(), bone.begin(), bone.end());
  ASSERT_EQ(values.size(), numbers.size());
  for (std::size_t i = 0; i < numbers.size(); i++)
    EXPECT_TRUE(sameFloat(values[i], std::strtof(numbers[i].c_str(), nullptr)))
        << numbers[i] << " read as " << values[i];
}

TEST(KaAMC, ANumberEndsWhereItsTextStopsBeingANumber) {
  struct Case {
    const char* line;
    std::vector<float> values;
  } cases[] = {
      {"root 1e 2\n", {1.0f}},  // the "e" is no number and ends the list
      {"root 1e+ 2\n", {1.0f}},   {"root 1.5-2 +3\n", {1.5f, -2.0f, 3.0f}},
      {"root 1 +-2 3\n", {1.0f}}, {"root . 1\n", {}},
      {"root 2.5x 3\n", {2.5f}},  {"root \t 4\r\n", {4.0f}},
  };
  for (const Case& c : cases) {
    std::vector<std::vector<float>> read = frameValues(c.line);
    EXPECT_EQ(chain(), "") << c.line;
    ASSERT_EQ(read.size(), 1u) << c.line;
    EXPECT_EQ(read[0], c.values) << c.line;
  }
}

TEST(KaAMC, FramesKeepTheirValuesThroughCopiesAndEdits) {
  KaAMC copy;
  {
    KaAMC motion;
    KtDArray<KtStr> names(3);
    names[0] = "root";
    names[1] = "head";
    names[2] = "tail";
    motion.setBoneNames(names);
    for (int n = 1; n <= 300; n++) {
      KaAMCField* f = motion.createField(n);
      float root[] = {float(n), 2, 3};
      f->setBoneValues(0, root, 3);
      KtDArray<float> head(1, float(-n));
      f->setBoneValues(1, head);
      // An entry given another entry's values gets its own copy of them.
      f->setBoneValues(2, f->bones[0].values.data(), 2);
    }
    copy = motion;
    EXPECT_NE(copy.fields[0].bones[0].values.data(), motion.fields[0].bones[0].values.data());
  }
  ASSERT_EQ(copy.fields.count(), 300);
  for (int n = 1; n <= 300; n++) {
    const KaAMCField& f = copy.fields[n - 1];
    EXPECT_EQ(f.bones[0].name, &copy.boneNames[0]);
    ASSERT_EQ(f.bones[0].values.count(), 3);
    EXPECT_EQ(f.bones[0].values[0], float(n));
    EXPECT_EQ(f.bones[0].values[2], 3.0f);
    ASSERT_EQ(f.bones[1].values.count(), 1);
    EXPECT_EQ(f.bones[1].values[0], float(-n));
    ASSERT_EQ(f.bones[2].values.count(), 2);
    EXPECT_EQ(f.bones[2].values[0], float(n));
  }
  // Entries taken from a frame that then goes away keep their values.
  KaAMCField target;
  {
    KaAMCField source = copy.fields[41];
    target.setBones(source.bones);
    copy._clear();
  }
  ASSERT_EQ(target.bones.count(), 3);
  EXPECT_EQ(target.bones[0].values[0], 42.0f);
  EXPECT_EQ(target.bones[1].values[0], -42.0f);
  float sum = 0;
  for (float v : target.bones[0].values) sum += v;
  EXPECT_EQ(sum, 47.0f);
}

TEST(KaAMC, AFailingInputNamesWhatCouldNotBeRead) {
  struct Case {
    const char* data;
    const char* chain;
  } cases[] = {
      {"1\nroot 1 2",
       "Unable to read field.\nUnable to read bone 'root' for field 1.\n"
       "Unable to read bone's values.\n"},
      {"1\nroot 1\n2\nro", "Unable to read field.\nUnable to read bone name for field 2.\n"},
      {"1\n", "Unable to read field.\nUnable to read past whitespace.\n"},
  };
  for (const Case& c : cases) {
    FailingInput buffer(std::string(header) + c.data);
    std::istream in(&buffer);
    KaAMC motion;
    motion._scanFrom(in, 5);
    EXPECT_EQ(chain(), c.chain) << c.data;
    EXPECT_EQ(motion.fields.count(), 0);
  }
}

TEST(KaAMC, AFailingOutputNamesWhatCouldNotBeWritten) {
  KaAMC motion;
  ASSERT_EQ(read(&motion, std::string(header) + "1\nroot 1.5 2\n"), "");
  // The text is ":FULLY-SPECIFIED\n:DEGREES\n1\nroot 1.5 2 \n".
  struct Case {
    std::size_t limit;
    const char* chain;
  } cases[] = {
      {10, "Unable to write mode.\n"},
      {20, "Unable to write degrees/radians.\n"},
      {30, "Unable to write field.\nUnable to write bone information.\nUnable to write name.\n"},
      {35, "Unable to write field.\nUnable to write bone information.\nUnable to write value.\n"},
  };
  for (const Case& c : cases) {
    FailingOutput buffer(c.limit);
    std::ostream out(&buffer);
    motion.printOn(out);
    EXPECT_EQ(chain(), c.chain) << c.limit;
  }
}

TEST(KaAMC, NoInputCrashesOrHangsTheReader) {
  std::string base = std::string("# take\n") + header +
                     "1\nroot 1 2 3\nHead 4 5\nneck 6\n2\nhead 7 8\nroot 9 1 2\nneck 3\n"
                     "3\nroot 4 5 6\nhead 7 8\nneck 9\n";
  const char alphabet[] = "0123456789 \n\t\r#:-+.eE xyzROOTHEAD\0\x80\xff";
  std::mt19937 random(11);
  std::uniform_int_distribution<int> edits(1, 6), kind(0, 3), letter(0, int(sizeof alphabet) - 2);
  int readWithoutError = 0;
  for (int round = 0; round < 3000; round++) {
    std::string text = base;
    for (int e = edits(random); e > 0 && !text.empty(); e--) {
      std::uniform_int_distribution<std::size_t> at(0, text.size() - 1);
      switch (kind(random)) {
        case 0:
          text[at(random)] = alphabet[letter(random)];
          break;
        case 1:
          text.insert(at(random), 1, alphabet[letter(random)]);
          break;
        case 2:
          text.erase(at(random), 1);
          break;
        default:
          text.resize(at(random));
          break;
      }
    }
    for (int maxFields : {0, 1}) {
      std::istringstream in(text);
      KaAMC motion;
      motion._scanFrom(in, maxFields);
      bool failed = theExceptObj.errorOccurred();
      theExceptObj.clear();
      if (failed) continue;
      readWithoutError++;
      // A motion read without error is consistent: every frame has one
      // entry per name, linked to it, and can be written.
      for (const KaAMCField& f : motion.fields) {
        ASSERT_EQ(f.bones.count(), motion.boneNames.count()) << text;
        for (int i = 0; i < f.bones.count(); i++) ASSERT_EQ(f.bones[i].name, &motion.boneNames[i]);
      }
      std::ostringstream out;
      motion.printOn(out);
      theExceptObj.clear();
    }
  }
  // Many edits leave a readable take: the check above did run.
  EXPECT_GT(readWithoutError, 500);
}

TEST(KaAMC, ABoneLineIsReadIntoTheEntryNamed) {
  KaAMCField field;
  field.setNumBones(1);
  std::istringstream in(" 1.5 2 x 3\nnext\n");
  field.scanBoneValuesFrom(in, 1);
  EXPECT_EQ(chain(), "");
  ASSERT_EQ(field.bones.count(), 2);
  EXPECT_EQ(field.bones[0].values.count(), 0);
  ASSERT_EQ(field.bones[1].values.count(), 2);
  EXPECT_EQ(field.bones[1].values[0], 1.5f);
  std::string rest;
  in >> rest;
  EXPECT_EQ(rest, "next");
  in >> rest;
  field.scanBoneValuesFrom(in, 0);
  EXPECT_EQ(chain(), "Unable to read bone's values.\n");
}

TEST(KaAMC, ValuesThatAreNotFiniteAreRefusedWithTheirLine) {
  // The header takes four lines, so the first frame's number is on line 5.
  const std::string head = "# take\n:FULLY-SPECIFIED\n\n:DEGREES\n1\nroot 1 2 3\n";
  struct Case {
    std::string frames;
    const char* chain;
  } cases[] = {
      {"lfemur 1 nan 2\n",
       "Line 7:  Unable to read bone 'lfemur' for field 1.\nNumber 'nan' is not finite.\n"},
      {"lfemur inf\n",
       "Line 7:  Unable to read bone 'lfemur' for field 1.\n"
       "Number 'inf' is not finite.\n"},
      {"lfemur 0\n2\nroot 1 2 3\n\nlfemur -1e999\n",
       "Line 11:  Unable to read bone 'lfemur' for field 2.\nNumber '-1e999' is not finite.\n"},
      {"lfemur 0\n2 root +INF\nlfemur 0\n",
       "Line 8:  Unable to read bone 'root' for field 2.\nNumber '+INF' is not finite.\n"},
      {"lfemur 0\n2\nlfemur 1e39 0\nroot 0\n",
       "Line 9:  Unable to read bone 'lfemur' for field 2.\nNumber '1e39' is not finite.\n"},
  };
  for (const Case& c : cases) {
    KaAMC motion;
    EXPECT_EQ(read(&motion, head + c.frames), std::string("Unable to read field.\n") + c.chain)
        << c.frames;
    EXPECT_EQ(motion.fields.count(), 0);
  }

  // Lines are counted across the reader's blocks of text: 40,000 frames of
  // two lines each are several blocks.
  std::string take = head + "lfemur 0\n";
  for (int n = 2; n <= 40000; n++) take += std::to_string(n) + "\nroot 1.5 2.25 -3\nlfemur 0.5\n";
  take += "40001\nroot 1 2 3\nlfemur nan\n";
  // Frame n's lfemur is on line 7 + 3 (n - 1).
  KaAMC motion;
  EXPECT_EQ(read(&motion, take),
            "Unable to read field.\nLine 120007:  Unable to read bone "
            "'lfemur' for field 40001.\nNumber 'nan' is not finite.\n");

  KaAMCField field;
  std::istringstream line(" 1 -inf\n");
  field.scanBoneValuesFrom(line, 0);
  EXPECT_EQ(chain(), "Unable to read bone's values.\nNumber '-inf' is not finite.\n");
}

TEST(KaAMC, AByteOrderMarkAtTheStartIsSkipped) {
  const std::string mark = "\xEF\xBB\xBF";
  KaAMC motion;
  EXPECT_EQ(read(&motion, mark + "# take\n:FULLY-SPECIFIED\n:RADIANS\n1\nroot 1 2\n"), "");
  EXPECT_EQ(motion.degrees, 0);
  ASSERT_EQ(motion.fields.count(), 1);
  EXPECT_EQ(motion.fields[0].bones[0].values.count(), 2);
  // The lines count as without the mark.
  EXPECT_EQ(read(&motion, mark + std::string(header) + "1\nroot 1 inf\n"),
            "Unable to read field.\nLine 4:  Unable to read bone 'root' for field 1.\n"
            "Number 'inf' is not finite.\n");
  // Only at the very start, and only the whole mark.
  const char* noMode = "File does not contain amc data.\nFile does not specify mode.\n";
  EXPECT_EQ(read(&motion, "\n" + mark + header + "1\nroot 1\n"), noMode);
  EXPECT_EQ(read(&motion, "\xEF\xBB" + std::string(header) + "1\nroot 1\n"), noMode);
  EXPECT_EQ(read(&motion, "\xEF"), noMode);
  std::istringstream in(mark + ":fully-specified\n:degrees\n1\n");
  int degrees = 0;
  EXPECT_EQ(KaAMC::streamContainsAMC(in, &degrees, nullptr, nullptr), 1);
  EXPECT_EQ(degrees, 1);
}
