#include "apps/motconv/MotconvTake.h"

#include <ostream>

#include "acclaim/KaAMCFrameReader.h"
#include "acclaim/KaASF.h"
#include "apps/motconv/CaptureTimeLine.h"
#include "apps/motconv/MovWriter.h"
#include "apps/motconv/TakeCheck.h"
#include "apps/motconv/TakeResampler.h"

namespace {

// Moves what the holder has recorded into *aside.
void setAside(KtExceptionHandler* aside) {
  *aside = theExceptObj;
  theExceptObj.clear();
}

// Records again what was set aside.
void recordAgain(const KtExceptionHandler& aside) {
  if (aside.exceptionOccurred()) theExceptObj = aside;
}

}  // namespace

MotconvTake::MotconvTake(const KaASF& skeleton, int fps, const MotconvCaptureRate* capture)
    : _skeleton(skeleton), _fps(fps), _capture(capture) {}

MotconvTake::~MotconvTake() = default;

// Each frame in file order: checked, then its MOV line written, or with a
// capture rate fed to the resampler, whose scene frames are written as
// they are determined. A time line the resampler refuses is refused with
// the take check, before any output.
void MotconvTake::_convert(const KaAMCField& frame) {
  if (_checkFailure.exceptionOccurred()) return;
  if (!_checker->checkFrame(frame)) {
    setAside(&_checkFailure);
    return;
  }
  if (!_resampler) {
    _print(frame);
    return;
  }
  if (!_resampler->feed(frame)) {
    setAside(&_checkFailure);
    return;
  }
  while (const KaAMCField* scene = _resampler->next()) _print(*scene);
}

void MotconvTake::_print(const KaAMCField& frame) {
  if (!_mov || _conversionFailure.exceptionOccurred()) return;
  if (!_lines->printLine(*_mov, frame)) setAside(&_conversionFailure);
}

// The end of the take: a take that covers no scene frame is refused.
void MotconvTake::_finish() {
  if (!_resampler || _checkFailure.exceptionOccurred()) return;
  if (!_resampler->finish()) setAside(&_checkFailure);
}

bool MotconvTake::read(const char* path, std::ostream* mov, std::ostream& progress) {
  progress << "Reading file: " << path << " ..." << std::flush;
  _mov = mov;
  KaAMCFrameReader reader;
  if (!reader.open(path)) {
    KtCheckException();
    return false;
  }
  _motion.degrees = reader.degrees();
  _motion.mode = reader.mode();
  _motion.fields._resize(1);
  if (reader.next(&_motion.fields[0])) {
    _motion.setBoneNames(reader.boneNames());
    _checker.reset(new TakeChecker(_skeleton, _motion));
    _lines.reset(new MovLineWriter(_skeleton, _motion, _fps));
    if (_capture)
      _resampler.reset(
          new TakeResampler(_skeleton, _motion.boneNames, _motion.degrees, *_capture, _fps));
    _convert(_motion.fields[0]);
    // One frame object holds every later frame in turn.
    KaAMCField frame;
    frame.boneNames = &_motion.boneNames;
    while (reader.next(&frame)) _convert(frame);
    if (!reader.failed()) _finish();
  } else {
    _motion.fields._clear();
  }
  if (reader.failed() || !reader.close()) {
    _motion._clear();
    KtCheckException();
    return false;
  }
  if (KtCheckException()) return false;
  progress << "done.\n" << std::flush;
  return true;
}

bool MotconvTake::recordCheck() {
  if (_checkFailure.exceptionOccurred()) {
    recordAgain(_checkFailure);
    return true;
  }
  if (_checker)
    _checker->warnAboutGaps(_capture && !CaptureTimeLine(*_capture, _fps).passesThrough());
  return false;
}

void MotconvTake::recordConversionFailure() {
  recordAgain(_conversionFailure);
}
