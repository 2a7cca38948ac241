#ifndef MOTCONV_TEST_MODELS_H
#define MOTCONV_TEST_MODELS_H

// Small skeletons and motions for the motconv unit tests, read from text
// the way the program reads its files.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "apps/motconv/MotconvCommandLine.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

namespace motconvtest {

// Runs each test in motconv's build with an empty diagnostics holder and
// no filter list, and puts things back afterwards.
class MotconvBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = KtGetBuild();
    KtSetBuild(KtBuild::Motconv);
    theExceptObj.clear();
    filterList = "";
  }
  void TearDown() override {
    theExceptObj.clear();
    filterList = "";
    KtSetBuild(saved);
  }
  KtBuild saved = KtBuild::Motconv;
};

// An ASF with the given units, root block, bone blocks (each the text
// between "begin" and "end") and hierarchy lines.
inline std::string asfText(const std::string& units, const std::string& root,
                           const std::vector<std::string>& bones,
                           const std::vector<std::string>& hierarchy) {
  std::string text = ":version 1.10\n:name test\n:units\n" + units + ":root\n" + root;
  if (!bones.empty()) {
    text += ":bonedata\n";
    for (const std::string& b : bones) text += "  begin\n" + b + "  end\n";
  }
  // The root section may not end the file: an empty hierarchy follows.
  text += ":hierarchy\n  begin\n";
  for (const std::string& h : hierarchy) text += "    " + h + "\n";
  text += "  end\n";
  return text;
}

// Reads text into *model (a KaASF or a KaAMC); returns the diagnostics left
// (empty when none) and clears them.
template <class Model>
std::string readModel(Model* model, const std::string& text) {
  std::istringstream in(text);
  model->scanFrom(in);
  std::string left;
  if (theExceptObj.exception()) {
    KtStr s;
    KtGetExceptionStr(&s, *theExceptObj.exception());
    left = s.text();
  }
  theExceptObj.clear();
  return left;
}

// One bone hanging from the root: its name and its dof words ("" for none).
struct BoneSpec {
  std::string name;
  std::string dofs;
};

// ASF text with the given root order (empty: no order line) and bones, all
// children of the root, with zero axis angles and one limit per dof.
inline std::string asfText(const std::string& rootOrder, const std::vector<BoneSpec>& bones) {
  std::ostringstream s;
  s << ":version 1.10\n:name test\n:units\n  mass 1.0\n  length 1.0\n  angle deg\n:root\n";
  if (!rootOrder.empty()) s << "  order " << rootOrder << "\n";
  s << "  axis XYZ\n  position 0 0 0\n  orientation 0 0 0\n";
  if (!bones.empty()) s << ":bonedata\n";
  int id = 1;
  for (const BoneSpec& bone : bones) {
    s << "  begin\n    id " << id++ << "\n    name " << bone.name
      << "\n    direction 0 1 0\n    length 1\n    axis 0 0 0 XYZ\n";
    if (!bone.dofs.empty()) {
      s << "    dof " << bone.dofs << "\n    limits";
      std::istringstream words(bone.dofs);
      std::string word;
      while (words >> word) s << " (-180 180)";
      s << "\n";
    }
    s << "  end\n";
  }
  s << ":hierarchy\n  begin\n";
  if (!bones.empty()) {
    s << "    root";
    for (const BoneSpec& bone : bones) s << " " << bone.name;
    s << "\n";
  }
  s << "  end\n";
  return s.str();
}

// Reads a skeleton; the test fails when the reader records anything.
inline void readSkeleton(KaASF* skeleton, const std::string& text) {
  std::istringstream in(text);
  skeleton->scanFrom(in);
  EXPECT_FALSE(theExceptObj.exceptionOccurred()) << text;
  theExceptObj.clear();
}

// Reads a motion; the test fails when the reader records anything.
inline void readMotion(KaAMC* motion, const std::string& text) {
  std::istringstream in(text);
  motion->scanFrom(in);
  EXPECT_FALSE(theExceptObj.exceptionOccurred()) << text;
  theExceptObj.clear();
}

}  // namespace motconvtest

#endif
