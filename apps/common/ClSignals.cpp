#include "apps/common/ClSignals.h"

#include <signal.h>

#include "toolkit/KtTemporaryFiles.h"

namespace {

const int theEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

void removeTemporaryFilesAndEnd(int sig) {
  KtRemoveTemporaryFiles();
  // The signal is held while its handler runs: raised again with the
  // default action, it ends the process as soon as the handler returns.
  signal(sig, SIG_DFL);
  raise(sig);
}

}  // namespace

void ClSetUpSignals() {
  struct sigaction action = {};
  action.sa_handler = removeTemporaryFilesAndEnd;
  sigemptyset(&action.sa_mask);
  for (int sig : theEndingSignals) sigaddset(&action.sa_mask, sig);
  for (int sig : theEndingSignals) {
    struct sigaction before;
    if (sigaction(sig, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    sigaction(sig, &action, nullptr);
  }
  signal(SIGXFSZ, SIG_IGN);
}
