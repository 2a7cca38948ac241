#ifndef KT_BUILD_H
#define KT_BUILD_H

// The library serves two programs whose builds once differed in a few places
// (the message for a missing input, compressed input streams, how the ASF
// reader opens its file and scales the root, duplicate bone ids, the ASF
// writer). Each program selects its behaviour once at start-up; tests switch
// freely between the two.
enum class KtBuild { Skelconv, Motconv };

void KtSetBuild(KtBuild build);
KtBuild KtGetBuild();

inline bool KtIsSkelconvBuild() {
  return KtGetBuild() == KtBuild::Skelconv;
}
inline bool KtIsMotconvBuild() {
  return KtGetBuild() == KtBuild::Motconv;
}

#endif
