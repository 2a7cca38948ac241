#ifndef KA_AMC_FRAME_READER_H
#define KA_AMC_FRAME_READER_H

#include <iosfwd>
#include <memory>

#include "acclaim/KaAMC.h"
#include "acclaim/KaAMCTextSource.h"
#include "toolkit/KtDArray.h"
#include "toolkit/KtStr.h"

class KaAMCFieldReader;
class KtCompIFStream;

// Reads an AMC take one frame at a time, so that a take of any length is
// read in the memory of one frame: the header first, then each frame in
// file order, handed to the caller, who may keep it or read the next one
// into the same object. The frames follow the rules of the whole-file
// reader, which is built on this one: the first frame gives the bone names
// in its order (boneNames()); every later frame must list those bones, each
// once, in any order, and its entries are put into the first frame's slots.
// Failures are recorded as the whole-file reader records them, with the
// same texts and line numbers.
//
// The reader owns the file it opens (and the decompressing tool behind a
// compressed one) and closes it by the end; a stream passed to start()
// belongs to the caller.
class KaAMCFrameReader {
 public:
  // degrees is the unit flag until the header sets it.
  explicit KaAMCFrameReader(int degrees = 1);
  ~KaAMCFrameReader();
  KaAMCFrameReader(const KaAMCFrameReader&) = delete;
  KaAMCFrameReader& operator=(const KaAMCFrameReader&) = delete;

  // Opens path (through its decompressing tool when it is compressed, or
  // under the compressed name a missing plain name has) and reads the
  // header. False when the file cannot be opened ("Unable to open '%s'.")
  // or holds no AMC header (the reason, "File does not contain amc data."
  // and "Unable to read '%s'."); the file is then closed.
  bool open(const char* path);
  // Reads the header from a stream the caller owns. With Exact read-ahead
  // the stream is read no further than the frames taken, for a caller that
  // goes on reading it (see KaAMCTextSource). False when the header fails,
  // with the reason and "File does not contain amc data." recorded.
  bool start(std::istream& in, KaAMCTextSource::ReadAhead readAhead = KaAMCTextSource::Blocks);

  // Reads the next frame into *field. The first frame keeps its entries in
  // file order and gives its names to boneNames(); every later frame is
  // read by name against the list *field is linked to, or against
  // boneNames() when it is linked to none, and is linked to it. True when a
  // frame was read. False at the end of the take (nothing recorded) and
  // after a failure, recorded with "Unable to read field." over the
  // frame's own message (and, for a file, "Unable to read '%s'.", the file
  // being closed then).
  bool next(KaAMCField* field);

  // Ends a read opened with open(). A take left before its end is read to
  // its end first (so that a decompressing tool can finish). A tool that
  // failed fails the read ("Unable to read '%s'." over its message); a take
  // read to its end whose last line has no line break gets the warning
  // "The file \"%s\" does not end with a line break; its last frame may be
  // cut short.". False when the read failed, now or before.
  bool close();

  // The header's mode and unit flag (1: degrees, 0: radians).
  KaAMC::Mode_t mode() const { return _mode; }
  int degrees() const { return _degrees; }
  // The first frame's bone names, in its order; empty before it is read.
  const KtDArray<KtStr>& boneNames() const { return _names; }
  int framesRead() const { return _framesRead; }
  // No frame is left: the take was read to its end (or failed).
  bool atEnd() const { return _state != Frames; }
  bool failed() const { return _state == Failed; }
  // Read to its end, the input's last line holds text but no line break.
  bool endsWithoutLineBreak() const;

  // The header check of KaAMC::streamContainsAMC; *lines grows by the
  // number of lines the header takes. Every out-argument may be null.
  static int checkHeader(std::istream& in, int* degrees, KaAMC::Mode_t* mode, KtStr* message,
                         int* lines);

 private:
  enum State { Closed, Frames, Ended, Failed };
  void _fail();
  bool _closeFile();

  int _degrees;
  KaAMC::Mode_t _mode = KaAMC::FullySpecified;
  State _state = Closed;
  int _framesRead = 0;
  KtStr _path;  // of a file opened here
  std::unique_ptr<KtCompIFStream> _file;
  std::unique_ptr<KaAMCTextSource> _src;
  std::unique_ptr<KaAMCFieldReader> _fieldReader;
  KtDArray<KtStr> _names;
};

#endif
