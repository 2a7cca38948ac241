// Reading AMC text: the header check, frames, bone lines and whole files.

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <istream>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaAMCTextSource.h"
#include "toolkit/KtCancelHandler.h"
#include "toolkit/KtCompStream.h"
#include "toolkit/KtExcept.h"

namespace {

// ---------------------------------------------------------------- header

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

// ---------------------------------------------------------------- values

// Reads one number at p the way the C library's decimal conversion does
// (optional sign, decimal digits with point and exponent, inf, nan) and
// narrows it to float. Returns the end of the number, or null when the text
// at p is not a number.
const char* parseFloat(const char* p, const char* end, float* out) {
  const char* start = p;
  if (p < end && *p == '+') {
    p++;
    if (p < end && (*p == '+' || *p == '-')) return nullptr;
  }
  std::from_chars_result r = std::from_chars(p, end, *out);
  if (r.ec == std::errc()) return r.ptr;
  if (r.ec == std::errc::result_out_of_range) {
    // Beyond the float range: the double value narrowed (infinity or zero).
    std::string text(start, r.ptr);
    *out = static_cast<float>(std::strtod(text.c_str(), nullptr));
    return r.ptr;
  }
  return nullptr;
}

// The C library's white space in the C locale, without a call per character.
bool isSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
char foldCase(char c) {
  return c >= 'a' && c <= 'z' ? char(c - 32) : c;
}

bool sameName(std::string_view name, const KtStr& known) {
  if (static_cast<std::size_t>(known.length()) != name.size()) return false;
  const char* k = known.text();
  for (std::size_t i = 0; i < name.size(); i++)
    if (foldCase(name[i]) != foldCase(k[i])) return false;
  return true;
}

// ---------------------------------------------------------------- names

// Finds the slots of a frame by bone name, without regard to case. Built
// once per name list, on the first frame whose order differs from the
// first frame's. A name the list holds twice has two slots, taken in turn.
class NameIndex {
 public:
  static const int unknown = -1;
  static const int taken = -2;

  // The first slot named name that is not yet filled; unknown when the
  // list has no such name, taken when all its slots are filled.
  int find(std::string_view name, const KtArray<KtStr>& names, const std::vector<char>& filled) {
    if (_names != &names) _build(names);
    _key.assign(name.data(), name.size());
    for (char& c : _key) c = foldCase(c);
    auto it = _first.find(_key);
    if (it == _first.end()) return unknown;
    for (int slot = it->second; slot >= 0; slot = _next[slot])
      if (!filled[slot]) return slot;
    return taken;
  }

 private:
  void _build(const KtArray<KtStr>& names) {
    _names = &names;
    _first.clear();
    _next.assign(names.count(), -1);
    for (int i = 0; i < names.count(); i++) {
      std::string key(names[i].text(), names[i].length());
      for (char& c : key) c = foldCase(c);
      auto inserted = _first.emplace(key, i);
      if (!inserted.second) {
        int slot = inserted.first->second;
        while (_next[slot] >= 0) slot = _next[slot];
        _next[slot] = i;
      }
    }
  }

  const KtArray<KtStr>* _names = nullptr;
  std::unordered_map<std::string, int> _first;
  std::vector<int> _next;
  std::string _key;
};

// ---------------------------------------------------------------- frames

// Reads frames one after the other from a text source. A frame that is not
// linked to a name list takes its entries in file order; a linked frame
// (every frame after the first of a motion) puts each entry into the slot
// of its name, so that entry i always belongs to name i.
class FieldReader {
 public:
  explicit FieldReader(KaAMCTextSource& src) : _src(src) {}

  // Reads one frame into *field; false when a failure was recorded.
  bool read(KaAMCField* field, KtDArray<KtStr>* names) {
    Number number = _readNumber(field);
    if (number == NoNumber) return true;  // at the end: the frame is unchanged
    if (number == BadNumber) return false;
    if (names || !field->boneNames) return _readInFileOrder(field, names);
    return _readByName(field);
  }

 private:
  enum Number { NumberRead, NoNumber, BadNumber };
  enum Line { BoneLine, FieldEnd, Failed };

  Number _readNumber(KaAMCField* field) {
    if (!_src.skipWhiteSpace() && !_src.failed()) return NoNumber;
    std::size_t n = 0;
    bool scanned = _src.scanInteger(&n);
    const char* p = _src.cursor();
    const char* end = p + n;
    if (n > 0 && *p == '+') p++;
    int number = 0;
    std::from_chars_result r = std::from_chars(p, end, number);
    if (!scanned || r.ec != std::errc() || r.ptr != end) {
      KtError("Unable to read field number.");
      return BadNumber;
    }
    _src.consume(n);
    field->number = number;
    return NumberRead;
  }

  // The next bone line of the frame: its name and the text after the name.
  // The frame ends at the end of the input and before a line that begins
  // with a digit (the next frame's number). A name that ends the input,
  // with nothing after it, is not taken.
  Line _nextLine(int fieldNumber, std::string_view* name, std::string_view* values) {
    if (!_src.skipWhiteSpace()) {
      if (!_src.failed()) return FieldEnd;
      KtError("Unable to read past whitespace.");
      return Failed;
    }
    if (isDigit(*_src.cursor())) return FieldEnd;
    std::size_t nameLength = 0;
    if (!_src.scanWord(&nameLength)) {
      KtError("Unable to read bone name for field %d.", fieldNumber);
      return Failed;
    }
    if (_src.buffered() == nameLength) {
      _src.consume(nameLength);
      return FieldEnd;
    }
    std::size_t lineLength = 0;
    bool scanned = _src.scanLine(&lineLength);
    const char* p = _src.cursor();
    *name = std::string_view(p, nameLength);
    if (!scanned) {
      KtError("Unable to read bone's values.");
      KtError("Unable to read bone '%.*s' for field %d.", int(nameLength), p, fieldNumber);
      return Failed;
    }
    *values = std::string_view(p + nameLength, lineLength - nameLength);
    _src.consume(lineLength < _src.buffered() ? lineLength + 1 : lineLength);
    return BoneLine;
  }

  bool _readInFileOrder(KaAMCField* field, KtDArray<KtStr>* names) {
    std::vector<KaAMCBone> bones;
    std::vector<KtStr> boneNames;
    std::string_view name, values;
    for (;;) {
      Line line = _nextLine(field->number, &name, &values);
      if (line == Failed) return false;
      if (line == FieldEnd) break;
      if (names) boneNames.emplace_back(name.data(), int(name.size()));
      bones.emplace_back();
      bones.back().setValuesFromText(values.data(), values.data() + values.size());
    }
    field->bones._resize(int(bones.size()));
    for (std::size_t i = 0; i < bones.size(); i++) field->bones[int(i)] = std::move(bones[i]);
    if (names) {
      names->_resize(int(boneNames.size()));
      for (std::size_t i = 0; i < boneNames.size(); i++) (*names)[int(i)] = std::move(boneNames[i]);
    }
    return true;
  }

  bool _readByName(KaAMCField* field) {
    const KtArray<KtStr>& names = *field->boneNames;
    int count = names.count();
    field->bones._resize(count);
    _filled.assign(count, 0);
    std::string_view name, values;
    for (int entry = 0;; entry++) {
      Line line = _nextLine(field->number, &name, &values);
      if (line == Failed) return false;
      if (line == FieldEnd) break;
      int slot = entry;
      if (slot >= count || _filled[slot] || !sameName(name, names[slot]))
        slot = _index.find(name, names, _filled);
      if (slot == NameIndex::unknown) {
        KtError("Field %d lists bone '%.*s', which the first field does not have.", field->number,
                int(name.size()), name.data());
        return false;
      }
      if (slot == NameIndex::taken) {
        KtError("Field %d lists bone '%.*s' twice.", field->number, int(name.size()), name.data());
        return false;
      }
      KaAMCBone& bone = field->bones[slot];
      bone.name = &names[slot];
      bone.setValuesFromText(values.data(), values.data() + values.size());
      _filled[slot] = 1;
    }
    for (int slot = 0; slot < count; slot++) {
      if (!_filled[slot]) {
        KtError("Field %d lacks bone '%s'.", field->number, names[slot].text());
        return false;
      }
    }
    return true;
  }

  KaAMCTextSource& _src;
  std::vector<char> _filled;
  NameIndex _index;
};

// Reads and drops the rest of a stream, so that a decompressing process
// feeding it can finish.
void discardRest(std::istream& in) {
  char block[1024];
  while (in.good()) in.read(block, sizeof block);
}

}  // namespace

// ---------------------------------------------------------------- KaAMCBone

void KaAMCBone::setValuesFromText(const char* p, const char* end) {
  // Lines hold a few numbers; longer ones continue in the heap.
  float local[64];
  std::vector<float> more;
  int n = 0;
  for (;;) {
    while (p < end && isSpace(*p)) p++;
    float v;
    const char* next = p < end ? parseFloat(p, end, &v) : nullptr;
    if (!next) break;
    if (n < 64) {
      local[n] = v;
    } else {
      if (more.empty()) more.assign(local, local + 64);
      more.push_back(v);
    }
    n++;
    p = next;
  }
  values._realloc(n);
  const float* from = n <= 64 ? local : more.data();
  for (int i = 0; i < n; i++) values[i] = from[i];
}

std::istream& KaAMCBone::scanFrom(std::istream& in) {
  std::string line;
  if (!std::getline(in, line)) {
    KtError("Unable to read bone's values.");
    return in;
  }
  setValuesFromText(line.data(), line.data() + line.size());
  return in;
}

// ---------------------------------------------------------------- KaAMCField

std::istream& KaAMCField::scanFrom(std::istream& in) {
  return _scanFrom(in, nullptr);
}

std::istream& KaAMCField::scanFrom(std::istream& in, KtDArray<KtStr>* names) {
  return _scanFrom(in, names);
}

std::istream& KaAMCField::_scanFrom(std::istream& in, KtDArray<KtStr>* names) {
  KaAMCTextSource src(in, KaAMCTextSource::readAheadFor(in));
  FieldReader(src).read(this, names);
  return in;
}

// ---------------------------------------------------------------- KaAMC

int KaAMC::streamContainsAMC(std::istream& in, int* degrees, Mode_t* mode, KtStr* message) {
  bool modeSeen = false;
  bool unitsSeen = false;
  for (;;) {
    char c = 0;
    if (!(in >> c)) return headerFails(message, "Error reading file.");
    if (c == '#') {
      in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
      if (in.bad()) return headerFails(message, "Error reading file.");
      continue;
    }
    if (c == ':') {
      KtStr text;
      text.scanLine(in);
      if (in.fail() || text.isNull()) return headerFails(message, "Error reading file.");
      text.trimLeft();
      text.trimRight();
      const HeaderKeyword* keyword = findHeaderKeyword(text);
      if (!keyword) return headerFails(message, KtStr("Unrecognized key word \"") + text + "\".");
      if (keyword->setsMode) {
        modeSeen = true;
        if (mode) *mode = FullySpecified;
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

std::istream& KaAMC::scanFrom(std::istream& in) {
  return _scanFrom(in, 0);
}

std::istream& KaAMC::_scanFrom(std::istream& in, int maxFields) {
  KtStr reason;
  if (!streamContainsAMC(in, &degrees, &mode, &reason)) {
    theExceptObj.recordError(reason);
    KtError("File does not contain amc data.");
    return in;
  }
  _clear();
  // A whole read goes to the end of the input, so reading ahead is free;
  // a partial read must leave the stream after the frames it read.
  KaAMCTextSource src(in,
                      maxFields == 0 ? KaAMCTextSource::Blocks : KaAMCTextSource::readAheadFor(in));
  FieldReader reader(src);
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
    bool ok = reader.read(&field, n == 0 ? &boneNames : nullptr);
    n++;
    if (!ok) {
      KtError("Unable to read field.");
      _clear();
      return in;
    }
    if (src.atEnd()) break;
    if (maxFields != 0 && n == maxFields) break;
    if (n % 20 == 0 && KtCancelHandler::checkCancel()) {
      _clear();
      return in;
    }
  }
  fields._realloc(n);
  _linkFields();
  return in;
}

void KaAMC::read(const char* path) {
  KtCompIFStream in;
  in.open(path);
  if (!in || theExceptObj.errorOccurred()) {
    KtError("Unable to open '%s'.", path);
    return;
  }
  scanFrom(in);
  if (theExceptObj.errorOccurred()) KtError("Unable to read '%s'.", path);
  in.close();
}

void KaAMC::readFirstField(const char* path) {
  KtCompIFStream in;
  in.open(path);
  if (!in || theExceptObj.errorOccurred()) {
    KtError("Unable to open '%s'.", path);
    return;
  }
  _scanFrom(in, 1);
  discardRest(in);
  if (theExceptObj.errorOccurred()) KtError("Unable to read '%s'.", path);
  in.close();
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
