#ifndef MOTVIEW_TEST_TAKES_H
#define MOTVIEW_TEST_TAKES_H

// The takes the drawings' tests draw, made as a user makes them (skelconv,
// motconv, then motview, each case in a folder of its own), and the joint
// positions the Raro model computes from the same three files, which every
// drawn joint is checked against.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "raro/KrImportScriptReader.h"
#include "raro/KrJointScriptReader.h"
#include "raro/KrMovReader.h"
#include "raro/KrScene.h"
#include "toolkit/KtExcept.h"

namespace motviewtest {

namespace fs = std::filesystem;

// The drawings keep hundredths of an inch: a drawn joint lies within half
// of one of the model's, and a little for the sums in between.
const double kDrawnTolerance = 0.0051;

inline std::string readText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void writeText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

inline std::string shellQuoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// The three files motview reads, in the case's folder.
struct ConvertedTake {
  fs::path dir;
  std::string jointScript;
  std::string importScript;
  std::string mov;
};

// A fresh folder for the running test.
inline fs::path testFolder(const std::string& name) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const fs::path dir = fs::current_path() / "motview-work" /
                       (std::string(test->test_suite_name()) + "." + test->name()) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

// Runs a command in dir; its output goes to dir/log.txt. The shell's status.
inline int runIn(const fs::path& dir, const std::string& command) {
  const std::string line =
      "cd " + shellQuoted(dir.string()) + " && " + command + " >> log.txt 2>&1";
  return std::system(line.c_str());
}

// skelconv and motconv -p "" on a skeleton and a take: the joint script
// s.mel, the import script t.mel, the MOV file t.mov (or the names given).
inline ConvertedTake convert(const fs::path& dir, const std::string& asf, const std::string& amc,
                             int fps, const std::string& motconvOptions,
                             const ConvertedTake& names = {"", "s.mel", "t.mel", "t.mov"}) {
  ConvertedTake take = names;
  take.dir = dir;
  EXPECT_EQ(runIn(dir, std::string(SKELCONV_PATH) + " -f " + shellQuoted(asf) + " " +
                           shellQuoted(take.jointScript)),
            0)
      << readText(dir / "log.txt");
  EXPECT_EQ(runIn(dir, std::string(MOTCONV_PATH) + " -f -p '' " + motconvOptions + " " +
                           shellQuoted(asf) + " " + shellQuoted(amc) + " " + std::to_string(fps) +
                           " " + shellQuoted(take.importScript) + " " + shellQuoted(take.mov)),
            0)
      << readText(dir / "log.txt");
  return take;
}

// The bundled CMU charleston take at 60 frames a second.
inline ConvertedTake convertCharleston(const fs::path& dir) {
  const std::string cmu = std::string(RC_DATA_DIR) + "/cmu/";
  return convert(dir, cmu + "charleston.asf", cmu + "charleston1.amc", 60, "");
}

// A small skeleton of its own: a root turned and moved off the origin, a
// bone that slides, a branch, angles in radians, and a take whose capture
// rate puts its first frame on scene frame 2 (31 frames captured at 30,
// scene frames 2 to 62 at 60).
inline ConvertedTake convertSynthetic(const fs::path& dir, const ConvertedTake& names = {
                                                               "", "s.mel", "t.mel", "t.mov"}) {
  writeText(dir / "synthetic.asf",
            ":version 1.10\n:name synthetic\n:units\n  mass 1.0\n  length 0.5\n  angle rad\n"
            ":root\n  order TX TY TZ RX RY RZ\n  axis ZYX\n  position 1 2 -3\n"
            "  orientation 0.2 -0.4 0.1\n:bonedata\n"
            "  begin\n    id 1\n    name spine\n    direction 0 1 0\n    length 4\n"
            "    axis 0.3 0 -0.2 XZY\n    dof rx rz\n  end\n"
            "  begin\n    id 2\n    name arm\n    direction 1 0.2 0\n    length 3\n"
            "    axis 0 0.5 0 ZXY\n    dof ty rz ry\n  end\n"
            "  begin\n    id 3\n    name leg\n    direction 0.2 -1 0.3\n    length 5\n"
            "    axis 0 0 0 XYZ\n    dof rx ry rz\n  end\n"
            ":hierarchy\n  begin\n    root spine leg\n    spine arm\n  end\n");
  std::ostringstream amc;
  amc << ":FULLY-SPECIFIED\n:RADIANS\n";
  for (int f = 1; f <= 31; ++f) {
    auto wave = [f](int k) { return std::sin(0.21 * f + 0.9 * k); };
    amc << f << "\nroot " << 6 * wave(0) << " " << 2 * wave(1) << " " << 8 * wave(2) << " "
        << 0.5 * wave(3) << " " << 1.2 * wave(4) << " " << 0.3 * wave(5) << "\n"
        << "spine " << 0.8 * wave(6) << " " << 0.6 * wave(7) << "\n"
        << "arm " << 0.7 * wave(8) << " " << 1.4 * wave(9) << " " << 0.9 * wave(10) << "\n"
        << "leg " << 0.5 * wave(11) << " " << 0.4 * wave(12) << " " << 1.1 * wave(13) << "\n";
  }
  writeText(dir / "synthetic.amc", amc.str());
  return convert(dir, "synthetic.asf", "synthetic.amc", 60, "-capture 30", names);
}

// motview on the take; its exit status.
inline int draw(const ConvertedTake& take, const std::string& options, const std::string& output) {
  return runIn(take.dir, std::string(MOTVIEW_PATH) + " -f " + options + " " +
                             shellQuoted(take.jointScript) + " " + shellQuoted(take.importScript) +
                             " " + shellQuoted(take.mov) + " " + shellQuoted(output));
}

// The same three files read by the Raro model.
class ModelTake {
 public:
  explicit ModelTake(const ConvertedTake& files) {
    theExceptObj.clear();
    EXPECT_TRUE(KrReadJointScript(readText(files.dir / files.jointScript), "s", &_scene));
    EXPECT_TRUE(KrReadImportScript(readText(files.dir / files.importScript), "t", &_scene, &_take));
    EXPECT_TRUE(KrReadMov(readText(files.dir / files.mov), "m", _take, _scene.axesNeeded(), &_mov));
    EXPECT_FALSE(theExceptObj.exceptionOccurred());
    theExceptObj.clear();
  }
  int joints() const { return _scene.jointCount(); }
  const std::string& name(int j) const { return _scene.joint(j).name; }
  int parent(int j) const { return _scene.joint(j).parent; }
  long first() const { return _take.firstFrame; }
  long last() const { return _take.firstFrame + _mov.frames() - 1; }
  int fps() const { return _take.fps; }
  std::vector<KrVec3> at(long frame) {
    _scene.apply(_mov.row((int)(frame - first())) + 1, _take.angleScale);
    std::vector<KrVec3> p;
    _scene.positions(&p);
    return p;
  }
  double lowestY() {
    double low = HUGE_VAL;
    for (long f = first(); f <= last(); ++f)
      for (const KrVec3& p : at(f)) low = std::min(low, p.y);
    return low;
  }

 private:
  KrScene _scene;
  KrTake _take;
  KrMov _mov;
};

inline double number(const std::string& text) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  EXPECT_TRUE(!text.empty() && *end == '\0') << "not a number: '" << text << "'";
  return v;
}

}  // namespace motviewtest

#endif
