#include <gtest/gtest.h>

#include "toolkit/KtCancelHandler.h"
#include "toolkit/KtExcept.h"

namespace {
int answer(void* data) {
  return *static_cast<int*>(data);
}
}  // namespace

TEST(KtCancelHandler, PollsNeverCancelWithoutAHookAndRecordCanceledWhenAsked) {
  theExceptObj.clear();
  ASSERT_EQ(KtCancelHandler::_proc, nullptr);
  EXPECT_EQ(KtCancelHandler::checkCancel(), 0);
  EXPECT_FALSE(theExceptObj.exceptionOccurred());

  int value = 0;
  KtCancelHandler::_proc = answer;
  KtCancelHandler::_data = &value;
  EXPECT_EQ(KtCancelHandler::checkCancel(), 0);
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
  value = 7;
  EXPECT_EQ(KtCancelHandler::checkCancel(), 1);
  ASSERT_TRUE(theExceptObj.errorOccurred());
  EXPECT_STREQ(theExceptObj.exception()->message().text(), "Canceled.");
  KtCancelHandler::_proc = nullptr;
  KtCancelHandler::_data = nullptr;
  theExceptObj.clear();
}
