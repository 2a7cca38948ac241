#ifndef KA_AMC_H
#define KA_AMC_H

#include <iosfwd>

#include "toolkit/KtArray.h"
#include "toolkit/KtDArray.h"
#include "toolkit/KtList.h"
#include "toolkit/KtStr.h"

class KaAMCFrameReader;

// The values of one bone entry: a read-only view of count() floats that
// live in the value block of the frame holding the entry. The view owns
// nothing; it stays valid while that frame lives and is not given new
// values (moving the frame keeps it valid, copying the frame rebases the
// copy's views onto the copy's own block).
class KaAMCValues {
 public:
  int count() const { return _count; }
  bool isEmpty() const { return _count == 0; }
  const float& operator[](int i) const { return _data[i]; }
  const float* data() const { return _data; }
  const float* begin() const { return _data; }
  const float* end() const { return _data + _count; }

 private:
  friend class KaAMCField;
  const float* _data = nullptr;
  int _count = 0;
};

// One bone entry of one frame: the numbers that followed the bone's name on
// its line. The name belongs to the motion's name list and the values to
// the frame's value block; the entry only points at them (the name is null
// until the frame is linked). A copy of an entry views the same values.
class KaAMCBone {
 public:
  // Writes the name and every value, each followed by one blank.
  std::ostream& printOn(std::ostream& out) const;

  const KtStr* name = nullptr;
  KaAMCValues values;
};

// One frame ("field") of a motion: its number as written in the file and
// its bone entries. The frame owns the entries and one block holding the
// values of all of them; the name list it points at belongs to the motion.
class KaAMCField {
 public:
  KaAMCField() = default;
  KaAMCField(const KaAMCField& other);
  KaAMCField(KaAMCField&& other) noexcept = default;
  KaAMCField& operator=(const KaAMCField& other);
  KaAMCField& operator=(KaAMCField&& other) noexcept = default;
  ~KaAMCField() = default;

  // Reads one frame. A frame that is not linked to a name list keeps its
  // entries in file order (the second form also stores the names read into
  // *names). A linked frame stores each entry in the slot of its name and
  // refuses a bone the list does not hold, a bone given twice and a missing
  // bone. The stream is left at the number of the next frame.
  std::istream& scanFrom(std::istream& in);
  std::istream& scanFrom(std::istream& in, KtDArray<KtStr>* names);
  std::istream& _scanFrom(std::istream& in, KtDArray<KtStr>* names);
  // Reads the values of one bone line, whose name has already been read,
  // into entry i: the rest of the current line, up to and including its
  // line end.
  std::istream& scanBoneValuesFrom(std::istream& in, int i);

  std::ostream& printOn(std::ostream& out) const;

  // Entry i's name becomes the address of name i; then the frame points at
  // the list. Entries beyond either list are left unnamed.
  void setBoneNamesPtr(const KtArray<KtStr>* names);
  // Resizes the entry list (new entries have no name and no values).
  void setNumBones(int n);
  // Replace the entries by copies of the given ones, their values copied
  // into this frame's block.
  void setBones(const KtArray<KaAMCBone>& bones);
  void setBones(const KtList<KaAMCBone>& bones);
  // Gives entry i a copy of the count values at values (which may be
  // another entry's). Views of the frame's values taken before are no
  // longer valid.
  void setBoneValues(int i, const float* values, int count);
  void setBoneValues(int i, const KtArray<float>& values);
  // The first entry whose name equals name without regard to case, or null.
  KaAMCBone* findBone(const char* name) const;
  // The entry for name, whose slot in the take's name list (-1 where the
  // list lacks it) was looked up once: a frame linked to that list holds
  // entry i under name i, so the slot answers for every such frame, and a
  // name the list lacks is in none of them; any other frame is searched by
  // name.
  const KaAMCBone* findBoneInSlot(int slot, const KtArray<KtStr>& names, const char* name) const;

  const KtArray<KtStr>* boneNames = nullptr;
  int number = 0;
  KtDArray<KaAMCBone> bones;

 private:
  // The reader fills the block and the views of a frame directly.
  friend class KaAMCFieldReader;
  static void _setView(KaAMCValues* values, const float* data, int count) {
    values->_data = data;
    values->_count = count;
  }
  // Copies the values of every entry, in entry order, into one new block
  // (entry replaced taking values [with, with + withCount) instead) and
  // points the entries at it.
  void _packValues(int replaced, const float* with, int withCount);

  KtDArray<float> _values;
};

// One motion read from (or written as) AMC text: the header's mode and
// angle unit, the bone names of the first frame and every frame. The motion
// owns its names and frames; every frame and entry points into the motion's
// own name list. The values are kept as written: the degrees flag tells the
// users of the motion how to read the angles.
class KaAMC {
 public:
  enum Mode_t { FullySpecified = 0 };

  KaAMC() = default;
  KaAMC(const KaAMC& other);
  KaAMC& operator=(const KaAMC& other);
  ~KaAMC() = default;

  // Reads the header lines. Returns 1 for a valid AMC header, leaving the
  // stream at the first character of the first frame; else 0 with the
  // reason in *message. Every out-argument may be null.
  static int streamContainsAMC(std::istream& in, int* degrees, Mode_t* mode, KtStr* message);
  static int fileContainsAMC(const char* path);

  void read(const char* path);
  // Reads the header and the first frame only; the rest of the file is
  // read and discarded.
  void readFirstField(const char* path);
  std::istream& scanFrom(std::istream& in);
  // Stops after maxFields frames when maxFields is non-zero.
  std::istream& _scanFrom(std::istream& in, int maxFields);

  std::ostream& printOn(std::ostream& out) const;
  void save(const char* path) const;

  void setFields(const KtArray<KaAMCField>& fields);
  void setBoneNames(const KtArray<KtStr>& names);
  void setBoneNames(const KtList<KtStr>& names);
  // Appends a frame with one empty, named entry per bone name. The pointer
  // is valid until the frame array next grows.
  KaAMCField* createField(int number);
  void _clear();

  // The programs read these directly; changes go through the operations
  // above so that the frames stay linked to the names.
  Mode_t mode = FullySpecified;
  int degrees = 1;
  KtDArray<KtStr> boneNames;
  KtDArray<KaAMCField> fields;

 private:
  void _readFile(const char* path, int maxFields);
  // Every frame of the reader, or the first maxFields when it is non-zero.
  void _readFrames(KaAMCFrameReader* reader, int maxFields);
  void _linkFields();
};

#endif
