#ifndef MOTCONV_MODELS_H
#define MOTCONV_MODELS_H

// Small skeletons and motions for the motconv unit tests, read from text
// the way the program reads its files (in motconv's build).

#include <sstream>
#include <string>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

// An ASF with the given units, root block and bone blocks (each the text
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

inline std::string readASF(KaASF* asf, const std::string& text) { return readModel(asf, text); }
inline std::string readAMC(KaAMC* amc, const std::string& text) { return readModel(amc, text); }

#endif
