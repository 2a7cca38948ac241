#include "toolkit/KtBuild.h"

int main() {
  KtSetBuild(KtBuild::Motconv);
  return 0;
}
