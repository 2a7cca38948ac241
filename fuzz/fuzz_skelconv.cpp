// skelconv's conversion in memory: read the ASF, check the joint names and
// write the joint script. A script written without error must hold only
// finite numbers and safe joint names.
#include <set>
#include <sstream>
#include <string>

#include "acclaim/KaASF.h"
#include "apps/skelconv/MelJointWriter.h"
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzOutputChecks.h"
#include "toolkit/KtStr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzRun run;
  KtSetBuild(KtBuild::Skelconv);
  std::string text(reinterpret_cast<const char*>(data), size);
  // A first line "prefix=<word>" gives the joint-name prefix.
  KtStr prefix = "";
  if (text.compare(0, 7, "prefix=") == 0) {
    size_t eol = text.find('\n');
    std::string word = text.substr(7, eol == std::string::npos ? std::string::npos : eol - 7);
    prefix = word.c_str();
    text.erase(0, eol == std::string::npos ? text.size() : eol + 1);
  }
  std::istringstream in(text);
  KaASF skeleton;
  skeleton.scanFrom(in);
  if (fuzzStepFailed()) return 0;
  if (findUnsafeJointName(skeleton, prefix) != nullptr) return 0;
  std::ostringstream out;
  writeMelJointScript(out, skeleton, prefix);
  if (fuzzStepFailed()) return 0;

  // The names the script writes, with and without the prefix.
  std::set<std::string> names = {"root", std::string(prefix.text()) + "root", prefix.text()};
  for (const KaASFBone* bone : skeleton.bones) {
    names.insert(bone->name.text());
    names.insert(std::string(prefix.text()) + bone->name.text());
  }
  fuzzCheckScript(out.str(), names);
  return 0;
}
