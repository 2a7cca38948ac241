#include "acclaim/KaASFBoneNames.h"

#include <cctype>
#include <string>
#include <unordered_map>

#include "toolkit/KtExcept.h"

namespace {

std::string folded(const char* name) {
  std::string s(name);
  for (char& c : s) c = (char)std::tolower((unsigned char)c);
  return s;
}

}  // namespace

bool KaASFCheckUniqueBoneNames(const KtList<KaASFBone*>& bones) {
  std::unordered_map<std::string, const KaASFBone*> seen;
  KtListIter<KaASFBone*> it(bones);
  while (KaASFBone** next = it.next()) {
    const KaASFBone* bone = *next;
    std::string key = folded(bone->name.text());
    if (key == "root") {
      KtError(
          "Bone \"%s\" (line %d) and the root have names that are equal without regard to "
          "case.",
          bone->name.text(), bone->line);
      return false;
    }
    auto found = seen.emplace(key, bone);
    if (!found.second) {
      const KaASFBone* first = found.first->second;
      KtError(
          "Bones \"%s\" (line %d) and \"%s\" (line %d) have names that are equal without "
          "regard to case.",
          first->name.text(), first->line, bone->name.text(), bone->line);
      return false;
    }
  }
  return true;
}
