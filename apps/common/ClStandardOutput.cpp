#include "apps/common/ClStandardOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "toolkit/KtDescriptorBuffer.h"
#include "toolkit/KtExcept.h"

namespace {

// Lives to the end of the process: the library's own clean-up at exit
// still flushes std::cout.
KtDescriptorBuffer* theBuffer = nullptr;

}  // namespace

void ClOpenStandardOutput() {
  if (!theBuffer) theBuffer = new KtDescriptorBuffer(STDOUT_FILENO, 1 << 13);
  std::cout.rdbuf(theBuffer);
}

int ClCloseStandardOutput(int status) {
  std::cout.flush();
  int error = theBuffer ? theBuffer->error() : 0;
  bool failed = !std::cout.good() || error != 0;
  // Closing reports what a network file system kept back; a standard
  // output closed from the start that nothing was written to is no
  // failure.
  if (::close(STDOUT_FILENO) != 0 && errno != EINTR && (errno != EBADF || failed)) {
    failed = true;
    if (!error) error = errno;
  }
  if (!failed) return status;
  if (error) KtError("%s", std::strerror(error));
  KtError("Unable to write to standard output.");
  KtCheckException();
  return 1;
}
