// Reading a whole motion: the header check and every frame, through the
// frame-by-frame reader.

#include <istream>

#include "acclaim/KaAMC.h"
#include "acclaim/KaAMCFrameReader.h"
#include "toolkit/KtCompStream.h"
#include "toolkit/KtExcept.h"

namespace {

// Reads and drops the rest of a stream, so that a decompressing process
// feeding it can finish.
void discardRest(std::istream& in) {
  char block[1024];
  while (in.good()) in.read(block, sizeof block);
}

}  // namespace

int KaAMC::streamContainsAMC(std::istream& in, int* degrees, Mode_t* mode, KtStr* message) {
  return KaAMCFrameReader::checkHeader(in, degrees, mode, message, nullptr);
}

std::istream& KaAMC::scanFrom(std::istream& in) {
  return _scanFrom(in, 0);
}

std::istream& KaAMC::_scanFrom(std::istream& in, int maxFields) {
  KaAMCFrameReader reader(degrees);
  // A whole read goes to the end of the input, so reading ahead is free;
  // a partial read must leave the stream after the frames it read.
  bool started = reader.start(
      in, maxFields == 0 ? KaAMCTextSource::Blocks : KaAMCTextSource::readAheadFor(in));
  degrees = reader.degrees();
  mode = reader.mode();
  if (!started) return in;
  _readFrames(&reader, maxFields);
  return in;
}

void KaAMC::_readFrames(KaAMCFrameReader* reader, int maxFields) {
  _clear();
  int n = 0;
  for (;;) {
    if (n == fields.count()) {
      // Geometric growth keeps a long take linear in its frames; the
      // array is cut to its exact size below.
      int step = fields.count() / 2 > 250 ? fields.count() / 2 : 250;
      fields._resize(fields.count() + step);
    }
    KaAMCField& field = fields[n];
    if (n > 0) field.boneNames = &boneNames;
    if (!reader->next(&field)) break;
    if (n == 0) boneNames = reader->boneNames();
    n++;
    if (maxFields != 0 && n == maxFields) break;
  }
  if (reader->failed()) {
    _clear();
    return;
  }
  fields._realloc(n);
  _linkFields();
}

void KaAMC::read(const char* path) {
  _readFile(path, 0);
}

void KaAMC::readFirstField(const char* path) {
  _readFile(path, 1);
}

void KaAMC::_readFile(const char* path, int maxFields) {
  KaAMCFrameReader reader(degrees);
  bool opened = reader.open(path);
  degrees = reader.degrees();
  mode = reader.mode();
  if (!opened) return;
  _readFrames(&reader, maxFields);
  if (reader.failed()) return;
  // A tool that fails at the end fails the read, frames and all.
  if (!reader.close()) _clear();
}

int KaAMC::fileContainsAMC(const char* path) {
  KtCompIFStream in;
  in.open(path);
  if (!in || theExceptObj.errorOccurred()) {
    KtError("Unable to open \"%s\".", path);
    return 0;
  }
  int result = streamContainsAMC(in, nullptr, nullptr, nullptr);
  if (in.isCompressed() && !in.eof()) discardRest(in);
  in.close();
  return result;
}
