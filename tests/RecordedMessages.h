#ifndef RC_RECORDED_MESSAGES_H
#define RC_RECORDED_MESSAGES_H

// The diagnostics a test provoked, read off the process-wide holder.

#include <string>
#include <vector>

#include "toolkit/KtExcept.h"

namespace testtools {

// The recorded messages, newest first; the holder is cleared.
inline std::vector<std::string> takeMessages() {
  std::vector<std::string> out;
  for (KtExcept* e = theExceptObj.exception(); e; e = e->detail())
    out.push_back(e->message().text());
  theExceptObj.clear();
  return out;
}

}  // namespace testtools

#endif
