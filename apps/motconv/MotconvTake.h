#ifndef MOTCONV_TAKE_H
#define MOTCONV_TAKE_H

#include <iosfwd>
#include <memory>

#include "acclaim/KaAMC.h"
#include "toolkit/KtExcept.h"

class KaASF;
class MovLineWriter;
class TakeChecker;
class TakeResampler;
struct MotconvCaptureRate;

// The take as motconv reads it. The AMC's header and first frame, which the
// warnings, the name checks and the import script need, are kept; every
// frame, the first included, is checked against the skeleton and converted
// into the MOV file's line as it is read, and then dropped, so that a take
// of any length is read in the memory of one frame.
//
// The run reports what goes wrong with the frames at the step where it
// always has: a read failure anywhere in the file stops the read at once
// (the frames before it count for nothing); a frame that breaks the take
// check is refused after the first frame's warnings; a line that cannot be
// converted fails the MOV file's output step. So the last two are set
// aside while the file is read to its end, and recorded again when the run
// gets there. After a check failure no frame is checked or converted any
// more, after a conversion failure none is converted: what the run would
// report first is found first.
class MotconvTake {
 public:
  // The skeleton (and the capture rate, when one is given) must outlive the
  // take. With a capture rate the frames pass through the resampler, and
  // the MOV lines are its scene frames.
  MotconvTake(const KaASF& skeleton, int fps, const MotconvCaptureRate* capture = nullptr);
  ~MotconvTake();
  MotconvTake(const MotconvTake&) = delete;
  MotconvTake& operator=(const MotconvTake&) = delete;

  // Reads the AMC file at path, writing "Reading file: <path> ..." and,
  // once the whole file has been read, "done.\n" on progress; each frame's
  // MOV line goes to mov (nothing is converted when it is null). Warnings
  // of the read are printed before "done.". False after a read failure,
  // which has been printed.
  bool read(const char* path, std::ostream* mov, std::ostream& progress);

  // The take's header and first frame (no frame when the read failed).
  const KaAMC& motion() const { return _motion; }

  // Records again the frame that broke the take check: true when there was
  // one. Otherwise records the warning about gaps in the frame numbers,
  // if there are any, and returns false.
  bool recordCheck();
  // Records again why a MOV line could not be converted, if one could not.
  void recordConversionFailure();

 private:
  void _convert(const KaAMCField& frame);
  void _print(const KaAMCField& frame);
  void _finish();

  const KaASF& _skeleton;
  const int _fps;
  const MotconvCaptureRate* _capture;
  KaAMC _motion;
  std::unique_ptr<TakeChecker> _checker;
  std::unique_ptr<MovLineWriter> _lines;
  std::unique_ptr<TakeResampler> _resampler;
  std::ostream* _mov = nullptr;
  KtExceptionHandler _checkFailure;       // set aside until the check is reported
  KtExceptionHandler _conversionFailure;  // set aside until the MOV file's step
};

#endif
