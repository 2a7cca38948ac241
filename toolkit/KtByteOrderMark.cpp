#include "toolkit/KtByteOrderMark.h"

void KtSkipByteOrderMark(std::streambuf* buf) {
  if (!buf) return;
  const int mark[] = {0xEF, 0xBB, 0xBF};
  int matched = 0;
  while (matched < 3 && buf->sgetc() == mark[matched]) {
    buf->sbumpc();
    matched++;
  }
  if (matched == 3) return;
  // Not a mark: the bytes are the file's own.
  while (matched-- > 0) buf->sungetc();
}
