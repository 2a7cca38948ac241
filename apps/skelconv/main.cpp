#include "toolkit/KtBuild.h"

int main() {
  KtSetBuild(KtBuild::Skelconv);
  return 0;
}
