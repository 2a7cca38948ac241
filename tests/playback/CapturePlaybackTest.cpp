// Plays takes converted with -capture back through the model of Raro's
// joints and compares every joint, on every scene frame, with the Acclaim
// pose that the capture shows at that frame's time: scene frame m at F
// frames per second shows the capture (at C) at u = m C / F; a whole u is
// the take's own frame, any other u lies between the frames n0 < u < n1,
// weight w = (u - n0) / (n1 - n0), and its pose interpolates theirs:
// translations linearly, a bone with three rotational dofs by spherical
// interpolation along the shorter arc of its local rotation, a bone with
// one or two angle by angle after bringing n1's within half a turn of n0's.
// The interpolation below is this test's own, in double precision, sharing
// nothing with the converter's.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "tests/playback/AcclaimReference.h"
#include "tests/playback/PlaybackFiles.h"
#include "tests/playback/RaroScene.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

namespace {

using namespace playback;
namespace fs = std::filesystem;

// --- a synthetic skeleton with every kind of bone ---------------------------

// chest turns about three axes, arm about two, fore about one; slide
// translates and turns about one; neck turns about three in another order.
std::string syntheticASF() {
  return ":version 1.10\n:name kinds\n:units\n  mass 1.0\n  length 0.45\n  angle deg\n"
         ":root\n  order TX TY TZ RX RY RZ\n  axis XYZ\n  position 0.5 1 -0.3\n"
         "  orientation 10 -20 15\n:bonedata\n"
         "  begin\n    id 1\n    name chest\n    direction 0 1 0\n    length 2\n"
         "    axis 10 0 -20 XYZ\n    dof rz rx ry\n  end\n"
         "  begin\n    id 2\n    name arm\n    direction 1 0 0\n    length 1.5\n"
         "    axis 0 30 0 ZYX\n    dof ry rx\n  end\n"
         "  begin\n    id 3\n    name fore\n    direction 0.6 -0.8 0\n    length 1\n"
         "    axis 5 5 5 XYZ\n    dof rz\n  end\n"
         "  begin\n    id 4\n    name slide\n    direction 0 0 1\n    length 1\n"
         "    axis -15 0 25 YZX\n    dof tx ty tz ry\n  end\n"
         "  begin\n    id 5\n    name neck\n    direction 0 1 0.2\n    length 0.8\n"
         "    axis 0 0 0 XYZ\n    dof ry rz rx\n  end\n"
         ":hierarchy\n  begin\n    root chest slide\n    chest arm neck\n    arm fore\n  end\n";
}

// Forty frames: large, fast turns (steps up to about 25 degrees a frame,
// some through +-180) and translations on every translating dof.
std::string syntheticAMC() {
  std::ostringstream s;
  s << ":FULLY-SPECIFIED\n:DEGREES\n";
  auto wave = [](int f, int k, double amplitude) {
    return amplitude * std::sin(0.17 * f * (k % 3 + 1) + 0.9 * k);
  };
  auto turn = [](int f, double start, double step) {
    double a = start + step * f;
    a = std::fmod(a + 180.0, 360.0);
    if (a < 0) a += 360.0;
    return a - 180.0;  // written within [-180, 180), so it wraps in the file
  };
  for (int f = 1; f <= 40; ++f) {
    s << f << "\n";
    s << "root " << wave(f, 0, 4) << " " << wave(f, 1, 3) << " " << wave(f, 2, 2) << " "
      << turn(f, 150, 9) << " " << wave(f, 3, 50) << " " << wave(f, 4, 70) << "\n";
    s << "chest " << turn(f, -170, -11) << " " << wave(f, 5, 60) << " " << wave(f, 6, 80) << "\n";
    s << "arm " << turn(f, 100, 23) << " " << wave(f, 7, 75) << "\n";
    s << "fore " << turn(f, 170, 13) << "\n";
    s << "slide " << wave(f, 8, 1.5) << " " << wave(f, 9, 1) << " " << wave(f, 10, 2) << " "
      << turn(f, 0, -17) << "\n";
    s << "neck " << wave(f, 11, 85) << " " << turn(f, 179, 7) << " " << wave(f, 12, 40) << "\n";
  }
  return s.str();
}

// --- the reference interpolation ----------------------------------------------

struct Quat {
  double w, x, y, z;
};

// Row-vector matrices: a point turns as p . M. The quaternion is that of
// the column-vector matrix M^T.
Quat quatOf(const Mat3& m) {
  const Mat3 q = transpose(m);
  const double t = q.m[0][0] + q.m[1][1] + q.m[2][2];
  Quat r;
  if (t > 0) {
    const double s = std::sqrt(t + 1.0) * 2;
    r = {s / 4, (q.m[2][1] - q.m[1][2]) / s, (q.m[0][2] - q.m[2][0]) / s,
         (q.m[1][0] - q.m[0][1]) / s};
  } else if (q.m[0][0] > q.m[1][1] && q.m[0][0] > q.m[2][2]) {
    const double s = std::sqrt(1.0 + q.m[0][0] - q.m[1][1] - q.m[2][2]) * 2;
    r = {(q.m[2][1] - q.m[1][2]) / s, s / 4, (q.m[0][1] + q.m[1][0]) / s,
         (q.m[0][2] + q.m[2][0]) / s};
  } else if (q.m[1][1] > q.m[2][2]) {
    const double s = std::sqrt(1.0 + q.m[1][1] - q.m[0][0] - q.m[2][2]) * 2;
    r = {(q.m[0][2] - q.m[2][0]) / s, (q.m[0][1] + q.m[1][0]) / s, s / 4,
         (q.m[1][2] + q.m[2][1]) / s};
  } else {
    const double s = std::sqrt(1.0 + q.m[2][2] - q.m[0][0] - q.m[1][1]) * 2;
    r = {(q.m[1][0] - q.m[0][1]) / s, (q.m[0][2] + q.m[2][0]) / s, (q.m[1][2] + q.m[2][1]) / s,
         s / 4};
  }
  return r;
}

Mat3 matrixOf(const Quat& r) {
  const double n = std::sqrt(r.w * r.w + r.x * r.x + r.y * r.y + r.z * r.z);
  const double w = r.w / n, x = r.x / n, y = r.y / n, z = r.z / n;
  Mat3 q;
  q.m[0][0] = 1 - 2 * (y * y + z * z);
  q.m[0][1] = 2 * (x * y - z * w);
  q.m[0][2] = 2 * (x * z + y * w);
  q.m[1][0] = 2 * (x * y + z * w);
  q.m[1][1] = 1 - 2 * (x * x + z * z);
  q.m[1][2] = 2 * (y * z - x * w);
  q.m[2][0] = 2 * (x * z - y * w);
  q.m[2][1] = 2 * (y * z + x * w);
  q.m[2][2] = 1 - 2 * (x * x + y * y);
  return transpose(q);
}

Quat slerpShorter(Quat a, Quat b, double w) {
  double d = a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
  if (d < 0) {
    b = {-b.w, -b.x, -b.y, -b.z};
    d = -d;
  }
  if (d > 1 - 1e-12)
    return {a.w + w * (b.w - a.w), a.x + w * (b.x - a.x), a.y + w * (b.y - a.y),
            a.z + w * (b.z - a.z)};
  const double theta = std::acos(d);
  const double fa = std::sin((1 - w) * theta) / std::sin(theta);
  const double fb = std::sin(w * theta) / std::sin(theta);
  return {fa * a.w + fb * b.w, fa * a.x + fb * b.x, fa * a.y + fb * b.y, fa * a.z + fb * b.z};
}

// Angles (radians) a, b, c with R(i, a) . R(j, b) . R(k, c) = m for three
// distinct axes i, j, k (0 = x): the column-vector matrix m^T is then
// Rk(c) Rj(b) Ri(a), whose angles follow from its row k and column i.
void anglesOf(const Mat3& m, int i, int j, int k, double out[3]) {
  const Mat3 q = transpose(m);
  const double e = ((j - i + 3) % 3 == 1) ? 1.0 : -1.0;
  out[1] = std::asin(std::max(-1.0, std::min(1.0, -e * q.m[k][i])));
  out[0] = std::atan2(e * q.m[k][j], q.m[k][k]);
  out[2] = std::atan2(e * q.m[j][i], q.m[i][i]);
}

const KaASFDOFGroup* dofsOf(const KaASF& skeleton, const KtStr& name) {
  if (name.iCmp("root") == 0) return &skeleton.root.order;
  for (const KaASFBone* bone : skeleton.bones)
    if (bone->name.iCmp(name.text()) == 0) return &bone->dofs;
  return nullptr;
}

// The pose the capture shows between frames a and b at weight w.
KaAMCField interpolated(const KaASF& skeleton, const KaAMCField& a, const KaAMCField& b, double w,
                        int degrees) {
  KaAMCField out = a;
  const double unit = degrees ? M_PI / 180.0 : 1.0;
  const double half = degrees ? 180.0 : M_PI;
  for (int i = 0; i < a.bones.count(); ++i) {
    const KaAMCValues& va = a.bones[i].values;
    const KaAMCValues& vb = b.bones[i].values;
    std::vector<float> v(va.count());
    std::vector<int> turning;
    std::vector<int> axes;
    const KaASFDOFGroup* dofs = dofsOf(skeleton, *a.bones[i].name);
    std::vector<int> codes;
    if (dofs)
      for (const KaASFDOF* dof : dofs->dofs) codes.push_back(dof->dof);
    for (int k = 0; k < (int)codes.size(); ++k)
      if (codes[k] >= KaRX && codes[k] <= KaRZ) {
        turning.push_back(k);
        axes.push_back(codes[k] - KaRX);
      }
    for (int k = 0; k < va.count(); ++k) {
      double d = vb[k] - va[k];
      const bool angle = k < (int)codes.size() && codes[k] >= KaRX && codes[k] <= KaRZ;
      if (angle && turning.size() < 3) {
        while (d > half) d -= 2 * half;
        while (d < -half) d += 2 * half;
      }
      v[k] = (float)(va[k] + w * d);
    }
    if (turning.size() == 3) {
      Mat3 ma, mb;
      for (int t = 0; t < 3; ++t) {
        ma = ma * rotation(axes[t], va[turning[t]] * unit);
        mb = mb * rotation(axes[t], vb[turning[t]] * unit);
      }
      const Mat3 m = matrixOf(slerpShorter(quatOf(ma), quatOf(mb), w));
      double angles[3];
      anglesOf(m, axes[0], axes[1], axes[2], angles);
      Mat3 check;
      for (int t = 0; t < 3; ++t) check = check * rotation(axes[t], angles[t]);
      EXPECT_LT(angleBetween(check, m), 1e-4) << "the reference's own decomposition";
      for (int t = 0; t < 3; ++t) v[turning[t]] = (float)(angles[t] / unit);
    }
    out.setBoneValues(i, v.data(), (int)v.size());
  }
  return out;
}

// --- the cases ------------------------------------------------------------------

struct RatePair {
  int capture;
  int fps;
};

const RatePair kRates[] = {{120, 60}, {120, 24}, {120, 25}, {120, 50}, {30, 60}};

struct CaptureCase {
  std::string name;
  std::string asf;
  std::string amc;
};

std::vector<CaptureCase> captureCases() {
  const fs::path cmu = fs::path(RC_DATA_DIR) / "cmu";
  return {{"CmuCharleston", readText(cmu / "charleston.asf"),
           firstFrames(readText(cmu / "charleston1.amc"), 150)},
          {"SyntheticKinds", syntheticASF(), syntheticAMC()}};
}

class CapturePlayback : public ::testing::TestWithParam<std::tuple<int, int>> {
 protected:
  void SetUp() override {
    saved = KtGetBuild();
    theExceptObj.clear();
  }
  void TearDown() override {
    theExceptObj.clear();
    KtSetBuild(saved);
  }
  KtBuild saved = KtBuild::Motconv;
};

long long floorDiv(long long a, long long b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

TEST_P(CapturePlayback, EveryJointShowsTheCaptureAtEverySceneFrame) {
  const CaptureCase c = captureCases()[std::get<0>(GetParam())];
  const RatePair rate = kRates[std::get<1>(GetParam())];
  const std::string label =
      c.name + "_" + std::to_string(rate.capture) + "to" + std::to_string(rate.fps);
  const fs::path dir = workFolder("Capture" + label);
  writeText(dir / "s.asf", c.asf);
  writeText(dir / "t.amc", c.amc);
  ASSERT_EQ(run(dir, std::string(SKELCONV_PATH) + " -f s.asf s.mel"), 0)
      << readText(dir / "log.txt");
  ASSERT_EQ(
      run(dir, std::string(MOTCONV_PATH) + " -f -p '' -capture " + std::to_string(rate.capture) +
                   " s.asf t.amc " + std::to_string(rate.fps) + " t.mel t.mov"),
      0)
      << readText(dir / "log.txt");

  RaroScene scene;
  std::string problem;
  ASSERT_TRUE(scene.runJointScript(readText(dir / "s.mel"), &problem)) << problem;
  ASSERT_TRUE(scene.runImportScript(readText(dir / "t.mel"), &problem)) << problem;

  KtSetBuild(KtBuild::Motconv);
  KaASF skeleton;
  skeleton.read((dir / "s.asf").c_str());
  KaAMC motion;
  motion.read((dir / "t.amc").c_str());
  ASSERT_FALSE(theExceptObj.errorOccurred());
  ASSERT_GT(motion.fields.count(), 1);

  // The time line, in integers: m from ceil(n_first F / C) to
  // floor(n_last F / C).
  const long long C = rate.capture, F = rate.fps;
  const long long first = motion.fields[0].number;
  const long long last = motion.fields[motion.fields.count() - 1].number;
  const long long mFirst = -floorDiv(-first * F, C);
  const long long mLast = floorDiv(last * F, C);
  std::vector<std::vector<double>> mov;
  ASSERT_TRUE(scene.readMov(readText(dir / "t.mov"), &mov, &problem)) << problem;
  ASSERT_EQ((long long)mov.size(), mLast - mFirst + 1);
  const std::string mel = readText(dir / "t.mel");
  EXPECT_NE(mel.find("currentTime -edit " + std::to_string(mFirst) + ";"), std::string::npos);
  EXPECT_EQ(scene.take().firstFrame, mFirst);
  EXPECT_EQ(scene.take().fps, rate.fps);

  double worstPosition = 0, worstRotation = 0;
  int interpolatedLines = 0;
  int f = 0;  // the frame at or before u
  for (long long k = 0; k < (long long)mov.size(); ++k) {
    const long long m = mFirst + k;
    ASSERT_FALSE(mov[k].empty());
    EXPECT_NEAR(mov[k][0] * F, (double)m, 1e-3) << "line " << k + 1;
    ASSERT_TRUE(scene.applyTakeLine(mov[k], &problem)) << problem;
    const long long whole = floorDiv(m * C, F);
    const bool exact = (m * C) % F == 0;
    while (f + 1 < motion.fields.count() && motion.fields[f + 1].number <= whole) ++f;
    KaAMCField pose;
    if (exact && motion.fields[f].number == whole) {
      pose = motion.fields[f];
    } else {
      const KaAMCField& a = motion.fields[f];
      const KaAMCField& b = motion.fields[f + 1];
      const double u = (double)(m * C) / (double)F;
      pose = interpolated(skeleton, a, b, (u - a.number) / (b.number - a.number), motion.degrees);
      ++interpolatedLines;
    }
    for (const BonePose& bone : acclaimPose(skeleton, pose, motion.degrees)) {
      ASSERT_TRUE(scene.hasJoint(bone.name)) << bone.name;
      const Transform world = scene.world(bone.name);
      const double position = length(world.t - bone.start);
      const double rotation = angleBetween(world.r, bone.frame);
      EXPECT_LE(position, kPositionTolerance) << bone.name << " scene frame " << m;
      EXPECT_LE(rotation, kRotationTolerance) << bone.name << " scene frame " << m;
      worstPosition = std::max(worstPosition, position);
      worstRotation = std::max(worstRotation, rotation);
    }
    if (HasFailure()) break;
  }
  // 120 to 60 and to 24 keep frames only; the others interpolate.
  const bool keptOnly = C % F == 0;
  EXPECT_EQ(interpolatedLines == 0, keptOnly);
  std::cout << "[ playback ] -capture " << label << ": " << mov.size() << " lines ("
            << interpolatedLines << " interpolated), largest differences " << worstPosition
            << " in, " << worstRotation << " deg\n";
  RecordProperty("largest_position_difference_in", std::to_string(worstPosition));
  RecordProperty("largest_rotation_difference_deg", std::to_string(worstRotation));
}

std::string captureCaseName(const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
  const RatePair& rate = kRates[std::get<1>(info.param)];
  return captureCases()[std::get<0>(info.param)].name + std::to_string(rate.capture) + "to" +
         std::to_string(rate.fps);
}

INSTANTIATE_TEST_SUITE_P(Takes, CapturePlayback,
                         ::testing::Combine(::testing::Range(0, 2), ::testing::Range(0, 5)),
                         captureCaseName);
