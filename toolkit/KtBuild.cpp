#include "toolkit/KtBuild.h"

namespace {
KtBuild currentBuild = KtBuild::Motconv;
}

void KtSetBuild(KtBuild build) {
  currentBuild = build;
}

KtBuild KtGetBuild() {
  return currentBuild;
}
