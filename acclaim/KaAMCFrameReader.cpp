// Reading an AMC take frame by frame: the header check, the frames in file
// order, and the file with its decompressing tool.

#include "acclaim/KaAMCFrameReader.h"

#include <istream>
#include <limits>

#include "acclaim/KaAMCFieldReader.h"
#include "toolkit/KtCancelHandler.h"
#include "toolkit/KtChars.h"
#include "toolkit/KtCompStream.h"
#include "toolkit/KtExcept.h"

namespace {

struct HeaderKeyword {
  const char* text;
  bool setsMode;
  int degrees;  // the unit flag it sets, -1 for none
};

const HeaderKeyword headerKeywords[] = {
    {"FULLY-SPECIFIED", true, -1},
    {"DEGREES", false, 1},
    {"RADIANS", false, 0},
};

const HeaderKeyword* findHeaderKeyword(const KtStr& text) {
  for (const HeaderKeyword& k : headerKeywords)
    if (text.iCmp(k.text) == 0) return &k;
  return nullptr;
}

int headerFails(KtStr* message, const KtStr& reason) {
  if (message) *message = reason;
  return 0;
}

// Skips a UTF-8 byte-order mark at the stream's position, which some
// editors put at the start of a file.
void skipByteOrderMark(std::istream& in) {
  const int mark[] = {0xEF, 0xBB, 0xBF};
  int matched = 0;
  while (matched < 3 && in.peek() == mark[matched]) {
    in.get();
    matched++;
  }
  if (matched == 3) return;
  // Not a mark: the bytes are the file's own.
  while (matched-- > 0) in.unget();
}

// Reads the next character that is not white space, as "in >> c" does,
// counting the line ends passed.
bool readNonSpace(std::istream& in, char* c, int* lines) {
  for (;;) {
    int got = in.get();
    if (got == std::char_traits<char>::eof()) return false;
    if (got == '\n') ++*lines;
    if (!KtIsSpace(got)) {
      *c = char(got);
      return true;
    }
  }
}

// Reads and drops the rest of a stream, so that whatever feeds it (a
// decompressing tool, the writer of a pipe) can finish.
void discardRest(std::istream& in) {
  char block[1024];
  while (in.good()) in.read(block, sizeof block);
}

}  // namespace

int KaAMCFrameReader::checkHeader(std::istream& in, int* degrees, KaAMC::Mode_t* mode,
                                  KtStr* message, int* lines) {
  int counted = 0;
  if (!lines) lines = &counted;
  skipByteOrderMark(in);
  bool modeSeen = false;
  bool unitsSeen = false;
  for (;;) {
    char c = 0;
    if (!readNonSpace(in, &c, lines)) return headerFails(message, "Error reading file.");
    if (c == '#') {
      in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
      if (in.bad()) return headerFails(message, "Error reading file.");
      ++*lines;  // a header that ends here fails at the next read anyway
      continue;
    }
    if (c == ':') {
      KtStr text;
      text.scanLine(in);
      if (in.fail() || text.isNull()) return headerFails(message, "Error reading file.");
      ++*lines;
      text.trimLeft();
      text.trimRight();
      const HeaderKeyword* keyword = findHeaderKeyword(text);
      if (!keyword) return headerFails(message, KtStr("Unrecognized key word \"") + text + "\".");
      if (keyword->setsMode) {
        modeSeen = true;
        if (mode) *mode = KaAMC::FullySpecified;
      }
      if (keyword->degrees >= 0) {
        unitsSeen = true;
        if (degrees) *degrees = keyword->degrees;
      }
      continue;
    }
    in.unget();
    if (in.fail()) return headerFails(message, "Error reading file.");
    if (!modeSeen) return headerFails(message, "File does not specify mode.");
    if (!unitsSeen) return headerFails(message, "File does not specify units.");
    return 1;
  }
}

KaAMCFrameReader::KaAMCFrameReader(int degrees) : _degrees(degrees) {}

KaAMCFrameReader::~KaAMCFrameReader() {
  // Whatever was not closed goes without a word: the caller has left.
  _fieldReader.reset();
  _src.reset();
  if (_file) _file->close();
}

bool KaAMCFrameReader::start(std::istream& in, KaAMCTextSource::ReadAhead readAhead) {
  _fieldReader.reset();
  _src.reset();
  _names._clear();
  _framesRead = 0;
  KtStr reason;
  int headerLines = 0;
  if (!checkHeader(in, &_degrees, &_mode, &reason, &headerLines)) {
    theExceptObj.recordError(reason);
    KtError("File does not contain amc data.");
    _state = Failed;
    return false;
  }
  _src.reset(new KaAMCTextSource(in, readAhead));
  _src->setFirstLine(headerLines + 1);
  _fieldReader.reset(new KaAMCFieldReader(*_src));
  _state = Frames;
  return true;
}

bool KaAMCFrameReader::open(const char* path) {
  _path = path;
  _file.reset(new KtCompIFStream);
  _file->open(path);
  if (!*_file || theExceptObj.errorOccurred()) {
    KtError("Unable to open '%s'.", path);
    _file.reset();
    _state = Failed;
    return false;
  }
  // The whole take is read, so reading ahead in blocks is free.
  if (start(*_file, KaAMCTextSource::Blocks)) return true;
  _closeFile();
  KtError("Unable to read '%s'.", path);
  return false;
}

bool KaAMCFrameReader::next(KaAMCField* field) {
  if (_state != Frames) return false;
  // A long read can be stopped from outside every 20 frames; the hook
  // records why.
  if (_framesRead > 0 && _framesRead % 20 == 0 && KtCancelHandler::checkCancel()) {
    _fail();
    return false;
  }
  bool first = _framesRead == 0;
  if (!first && !field->boneNames) field->boneNames = &_names;
  KaAMCFieldReader::Result result = _fieldReader->read(field, first ? &_names : nullptr);
  if (result == KaAMCFieldReader::Ended) {
    _state = Ended;
    return false;
  }
  if (result == KaAMCFieldReader::Failed) {
    KtError("Unable to read field.");
    _fail();
    return false;
  }
  if (first) field->setBoneNamesPtr(&_names);
  _framesRead++;
  if (_src->atEnd()) _state = Ended;
  return true;
}

bool KaAMCFrameReader::endsWithoutLineBreak() const {
  return _state == Ended && _src && _src->lastLineUnended();
}

// A failed read keeps nothing: the names go, and a file is closed with the
// message naming it.
void KaAMCFrameReader::_fail() {
  _state = Failed;
  _names._clear();
  if (!_file) return;
  _closeFile();
  KtError("Unable to read '%s'.", _path.text());
}

// Closes the file; false when the decompressing tool failed (it has
// recorded why).
bool KaAMCFrameReader::_closeFile() {
  if (!_file) return true;
  bool unread = _state == Frames;
  _fieldReader.reset();
  _src.reset();
  if (unread && !_file->isCompressed()) discardRest(*_file);
  _file->clear();
  // Closing waits for a decompressing tool (reading what it still has to
  // give). One that failed has cut the text short whatever the frames read
  // from it looked like.
  _file->close();
  bool closed = !_file->fail() && !theExceptObj.errorOccurred();
  _file.reset();
  return closed;
}

bool KaAMCFrameReader::close() {
  if (!_file) return _state != Failed;
  if (_state == Failed) {
    _closeFile();
    return false;
  }
  bool unterminated = endsWithoutLineBreak();
  if (!_closeFile()) {
    _state = Failed;
    _names._clear();
    KtError("Unable to read '%s'.", _path.text());
    return false;
  }
  if (_state == Frames) _state = Ended;
  if (unterminated)
    KtWarning("The file \"%s\" does not end with a line break; its last frame may be cut short.",
              _path.text());
  return true;
}
