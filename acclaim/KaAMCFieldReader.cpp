// The frame grammar of AMC text: frame numbers, bone lines and their values.

#include "acclaim/KaAMCFieldReader.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaAMCTextSource.h"
#include "toolkit/KtChars.h"
#include "toolkit/KtExcept.h"

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
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

// The powers of ten that a float holds exactly (5^10 < 2^24).
const float exactPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                  1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
const int maxExactPower = 10;
const std::uint64_t maxExactMantissa = std::uint64_t(1) << 24;

// The usual AMC number, at most seven significant digits with a small
// exponent ("-27.07", "4.92185"), converted with one correctly rounded
// float operation on exact operands: the same float as parseFloat gives.
// Returns null for any other text, which parseFloat then takes.
const char* parseShortFloat(const char* p, const char* end, float* out) {
  bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) p++;
  // Up to 19 digits cannot overflow the mantissa; more go to parseFloat.
  std::uint64_t mantissa = 0;
  const char* digits = p;
  for (; p < end && isDigit(*p); p++) mantissa = mantissa * 10 + std::uint64_t(*p - '0');
  int scale = 0;  // the power of ten of the mantissa's last digit
  int count = int(p - digits);
  if (p < end && *p == '.') {
    const char* fraction = ++p;
    for (; p < end && isDigit(*p); p++) mantissa = mantissa * 10 + std::uint64_t(*p - '0');
    scale = -int(p - fraction);
    count -= scale;
  }
  if (count == 0 || count > 19) return nullptr;
  if (p < end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    bool negativeExponent = q < end && *q == '-';
    if (q < end && (*q == '-' || *q == '+')) q++;
    if (q < end && isDigit(*q)) {
      int exponent = 0;
      for (; q < end && isDigit(*q); q++) {
        if (exponent > 100) return nullptr;
        exponent = exponent * 10 + (*q - '0');
      }
      scale += negativeExponent ? -exponent : exponent;
      p = q;
    }
    // Otherwise the "e" is not part of the number.
  }
  if (mantissa >= maxExactMantissa) return nullptr;
  float value = float(mantissa);
  if (mantissa != 0) {
    if (scale > maxExactPower || scale < -maxExactPower) return nullptr;
    value = scale >= 0 ? value * exactPowersOfTen[scale] : value / exactPowersOfTen[-scale];
  }
  *out = negative ? -value : value;
  return p;
}

// Appends the numbers at the start of the text [p, end) to *out: white
// space between them is skipped and the first text that is not a number
// ends the list (the rest is ignored). A number that is not finite ("nan",
// "inf", or beyond the float range) is refused: false, with its text in
// *refused. Only the long conversion can give one.
bool appendValues(const char* p, const char* end, std::vector<float>* out,
                  std::string_view* refused) {
  for (;;) {
    while (p < end && KtIsSpace(*p)) p++;
    if (p == end) return true;
    float v;
    const char* next = parseShortFloat(p, end, &v);
    if (!next) {
      next = parseFloat(p, end, &v);
      if (!next) return true;
      if (!std::isfinite(v)) {
        *refused = std::string_view(p, std::size_t(next - p));
        return false;
      }
    }
    out->push_back(v);
    p = next;
  }
}

void recordNotFinite(std::string_view number) {
  KtError("Number '%.*s' is not finite.", int(number.size()), number.data());
}

// ---------------------------------------------------------------- names

// True when text starts with the name known, without regard to case.
bool startsWithName(const char* text, std::size_t length, const KtStr& known) {
  std::size_t n = static_cast<std::size_t>(known.length());
  if (n > length) return false;
  const char* k = known.text();
  if (std::memcmp(text, k, n) == 0) return true;
  for (std::size_t i = 0; i < n; i++)
    if (KtToUpper(text[i]) != KtToUpper(k[i])) return false;
  return true;
}

}  // namespace

// Finds the slots of a frame by bone name, without regard to case. Built
// once per name list, on the first frame whose order differs from the
// first frame's. A name the list holds twice has two slots, taken in turn.
class KaAMCFieldReader::NameIndex {
 public:
  static const int unknown = -1;
  static const int taken = -2;

  // The first slot named name that is not yet filled; unknown when the
  // list has no such name, taken when all its slots are filled.
  int find(std::string_view name, const KtArray<KtStr>& names, const std::vector<char>& filled) {
    if (_names != &names) _build(names);
    _key.assign(name.data(), name.size());
    for (char& c : _key) c = KtToUpper(c);
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
      for (char& c : key) c = KtToUpper(c);
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

KaAMCFieldReader::KaAMCFieldReader(KaAMCTextSource& src) : _src(src), _index(new NameIndex) {}

KaAMCFieldReader::~KaAMCFieldReader() = default;

KaAMCFieldReader::Result KaAMCFieldReader::read(KaAMCField* field, KtDArray<KtStr>* names) {
  Number number = _readNumber(field);
  if (number == NoNumber) return Ended;
  if (number == BadNumber) return Failed;
  bool ok = names || !field->boneNames ? _readInFileOrder(field, names) : _readByName(field);
  return ok ? Read : Failed;
}

KaAMCFieldReader::Number KaAMCFieldReader::_readNumber(KaAMCField* field) {
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

// The next bone line of the frame: its name (the first word) and the text
// after the name up to the line end. The frame ends at the end of the input
// and before a line that begins with a digit (the next frame's number). A
// name that ends the input, with nothing after it, is not taken.
// *isExpected tells whether the name is expected (the name of the slot the
// line should fill), looked at first as the usual case.
KaAMCFieldReader::Line KaAMCFieldReader::_nextLine(int fieldNumber, const KtStr* expected,
                                                   std::string_view* name, std::string_view* values,
                                                   bool* isExpected) {
  if (!_src.skipWhiteSpace()) {
    if (!_src.failed()) return FieldEnd;
    KtError("Unable to read past whitespace.");
    return Failure;
  }
  if (isDigit(*_src.cursor())) return FieldEnd;
  std::size_t lineLength = 0;
  bool scanned = _src.scanLine(&lineLength);
  const char* p = _src.cursor();
  bool lineEnded = lineLength < _src.buffered();
  std::size_t nameLength = 0;
  *isExpected = false;
  if (scanned && expected && startsWithName(p, lineLength, *expected)) {
    nameLength = std::size_t(expected->length());
    *isExpected = nameLength == lineLength ? lineEnded : KtIsSpace(p[nameLength]);
  }
  if (!*isExpected) {
    nameLength = 0;
    while (nameLength < lineLength && !KtIsSpace(p[nameLength])) nameLength++;
  }
  if (!scanned) {
    // The input failed within the name, or within the values after it.
    if (nameLength == lineLength) {
      KtError("Unable to read bone name for field %d.", fieldNumber);
    } else {
      KtError("Unable to read bone's values.");
      KtError("Unable to read bone '%.*s' for field %d.", int(nameLength), p, fieldNumber);
    }
    return Failure;
  }
  if (nameLength == lineLength && !lineEnded) {
    _src.consume(nameLength);
    return FieldEnd;
  }
  *name = std::string_view(p, nameLength);
  *values = std::string_view(p + nameLength, lineLength - nameLength);
  _valuesLine = _src.line();
  if (lineEnded)
    _src.consumeLine(lineLength + 1);
  else
    _src.consume(lineLength);
  return BoneLine;
}

// Appends the numbers of a values text to the scratch list as the values of
// slot; false after a recorded error (a number that is not finite).
bool KaAMCFieldReader::_scanValues(std::string_view values, int slot, std::string_view name,
                                   int fieldNumber) {
  _start[slot] = int(_scratch.size());
  std::string_view refused;
  if (!appendValues(values.data(), values.data() + values.size(), &_scratch, &refused)) {
    recordNotFinite(refused);
    KtError("Line %d:  Unable to read bone '%.*s' for field %d.", _valuesLine, int(name.size()),
            name.data(), fieldNumber);
    return false;
  }
  _count[slot] = int(_scratch.size()) - _start[slot];
  return true;
}

// Gives the first n entries of *field the values gathered for slots 0 to
// n - 1, in one block. A block of the same size as the frame's last one is
// reused, so a frame read again and again costs no allocation.
void KaAMCFieldReader::_handOver(KaAMCField* field, int n) {
  KtDArray<float>& block = field->_values;
  block._realloc(int(_scratch.size()));
  if (!_scratch.empty())
    std::memcpy(block.data(), _scratch.data(), sizeof(float) * _scratch.size());
  for (int i = 0; i < n; i++)
    KaAMCField::_setView(&field->bones[i].values, block.data() + _start[i], _count[i]);
}

void KaAMCFieldReader::_reserveSlots(int n) {
  if (int(_start.size()) < n) {
    _start.resize(n);
    _count.resize(n);
  }
}

bool KaAMCFieldReader::_readInFileOrder(KaAMCField* field, KtDArray<KtStr>* names) {
  _scratch.clear();
  _boneNames.clear();
  std::string_view name, values;
  bool isExpected = false;
  int n = 0;
  for (;; n++) {
    Line line = _nextLine(field->number, nullptr, &name, &values, &isExpected);
    if (line == Failure) return false;
    if (line == FieldEnd) break;
    if (names) _boneNames.emplace_back(name.data(), int(name.size()));
    _reserveSlots(n + 1);
    if (!_scanValues(values, n, name, field->number)) return false;
  }
  field->bones._resize(n);
  for (KaAMCBone& bone : field->bones) bone = KaAMCBone();
  _handOver(field, n);
  if (names) {
    names->_resize(n);
    for (int i = 0; i < n; i++) (*names)[i] = std::move(_boneNames[i]);
  }
  return true;
}

bool KaAMCFieldReader::_readByName(KaAMCField* field) {
  const KtArray<KtStr>& names = *field->boneNames;
  int count = names.count();
  _filled.assign(count, 0);
  _reserveSlots(count);
  _scratch.clear();
  std::string_view name, values;
  bool isExpected = false;
  for (int entry = 0;; entry++) {
    // The usual frame lists the bones in the first frame's order.
    const KtStr* expected = entry < count && !_filled[entry] ? &names[entry] : nullptr;
    Line line = _nextLine(field->number, expected, &name, &values, &isExpected);
    if (line == Failure) return false;
    if (line == FieldEnd) break;
    int slot = isExpected ? entry : _index->find(name, names, _filled);
    if (slot == NameIndex::unknown) {
      KtError("Frame %d lists bone '%.*s', which the first frame does not have.", field->number,
              int(name.size()), name.data());
      return false;
    }
    if (slot == NameIndex::taken) {
      KtError("Frame %d lists bone '%.*s' twice.", field->number, int(name.size()), name.data());
      return false;
    }
    if (!_scanValues(values, slot, name, field->number)) return false;
    _filled[slot] = 1;
  }
  for (int slot = 0; slot < count; slot++) {
    if (_filled[slot]) continue;
    // A frame that the end of the input cuts short is a file cut short,
    // not a frame that leaves a bone out.
    if (_src.atEnd())
      KtError("The file ends inside frame %d, before bone '%s'.", field->number,
              names[slot].text());
    else
      KtError("Frame %d lacks bone '%s'.", field->number, names[slot].text());
    return false;
  }
  field->bones._resize(count);
  for (int slot = 0; slot < count; slot++) field->bones[slot].name = &names[slot];
  _handOver(field, count);
  return true;
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
  KaAMCFieldReader(src).read(this, names);
  return in;
}

std::istream& KaAMCField::scanBoneValuesFrom(std::istream& in, int i) {
  std::string line;
  if (!std::getline(in, line)) {
    KtError("Unable to read bone's values.");
    return in;
  }
  if (i < 0) return in;
  if (i >= bones.count()) bones._resize(i + 1);
  std::vector<float> values;
  std::string_view refused;
  if (!appendValues(line.data(), line.data() + line.size(), &values, &refused)) {
    recordNotFinite(refused);
    KtError("Unable to read bone's values.");
    return in;
  }
  setBoneValues(i, values.data(), int(values.size()));
  return in;
}
