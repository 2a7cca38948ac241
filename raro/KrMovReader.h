#ifndef KR_MOV_READER_H
#define KR_MOV_READER_H

// Reads a MOV channel table: one line a frame, the time in seconds and
// then one number per device axis, all lines alike. The times must be the
// scene frames firstFrame, firstFrame + 1, ... at the take's rate, as far
// as the six significant digits motconv writes them with can tell. Blank
// lines and "//" comments are skipped; anything else is refused with its
// number under a message naming the file.

#include <string>
#include <vector>

#include "raro/KrImportScriptReader.h"

struct KrMov {
  int columns = 0;             // the time and the axes
  std::vector<double> values;  // row after row
  int frames() const { return columns ? (int)(values.size() / columns) : 0; }
  const double* row(int frame) const { return values.data() + (size_t)frame * columns; }
};

// axesNeeded: the axes the import script binds; each line must hold them.
bool KrReadMov(const std::string& text, const char* fileName, const KrTake& take, int axesNeeded,
               KrMov* mov);

#endif
