#include "toolkit/KtBuild.h"

#include <gtest/gtest.h>

TEST(KtBuild, SwitchSelectsEachProgramsBehaviour) {
  KtBuild saved = KtGetBuild();
  KtSetBuild(KtBuild::Skelconv);
  EXPECT_TRUE(KtIsSkelconvBuild());
  EXPECT_FALSE(KtIsMotconvBuild());
  KtSetBuild(KtBuild::Motconv);
  EXPECT_TRUE(KtIsMotconvBuild());
  EXPECT_FALSE(KtIsSkelconvBuild());
  KtSetBuild(saved);
}
