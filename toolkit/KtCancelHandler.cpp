#include "toolkit/KtCancelHandler.h"

#include "toolkit/KtExcept.h"

int (*KtCancelHandler::_proc)(void* data) = nullptr;
void* KtCancelHandler::_data = nullptr;

int KtCancelHandler::checkCancel() {
  if (!_proc) return 0;
  if (_proc(_data) == 0) return 0;
  theExceptObj.setAsError("Canceled.");
  return 1;
}
