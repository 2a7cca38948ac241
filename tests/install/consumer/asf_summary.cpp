// Reads one ASF skeleton through the installed library and prints its name,
// its bone count, its first and last bone and the bones under the root.
#include <iostream>

#include "acclaim/KaASF.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtList.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: asf_summary <asf file>\n";
    return 2;
  }
  KaASF skeleton;
  skeleton.read(argv[1]);
  if (KtCheckException()) return 1;

  std::cout << "skeleton " << skeleton.header.name.text() << "\n";
  std::cout << "bones " << skeleton.bones.count() << "\n";
  if (skeleton.bones.isEmpty()) return 1;
  std::cout << "first " << skeleton.bones.first()->name.text() << "\n";
  std::cout << "last " << skeleton.bones.last()->name.text() << "\n";

  KtList<KaASFBone*> children;
  skeleton.getChildBonesOfRoot(&children);
  std::cout << "root children";
  for (const KaASFBone* bone : children) std::cout << " " << bone->name.text();
  std::cout << "\n";
  return 0;
}
