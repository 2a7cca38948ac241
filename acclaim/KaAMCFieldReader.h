#ifndef KA_AMC_FIELD_READER_H
#define KA_AMC_FIELD_READER_H

#include <memory>
#include <string_view>
#include <vector>

#include "toolkit/KtDArray.h"
#include "toolkit/KtStr.h"

class KaAMCField;
class KaAMCTextSource;

// The frame grammar of AMC text, the one implementation every AMC reader
// uses: a frame number, then bone lines up to the next frame number or the
// end of the input. A frame that is not linked to a name list takes its
// entries in file order; a linked frame (every frame after the first of a
// take) puts each entry into the slot of its name in that list, so that
// entry i always belongs to name i, and refuses a bone the list lacks, a
// bone given twice and a missing bone. The values of a frame are gathered
// in one scratch list, reused from frame to frame, and copied into the
// frame's value block when the frame is complete. The reader holds nothing
// of a frame once it is handed over; the text source belongs to the caller.
class KaAMCFieldReader {
 public:
  enum Result {
    Read,    // a frame was read
    Ended,   // the input holds no further frame; *field is unchanged
    Failed,  // a failure was recorded
  };

  explicit KaAMCFieldReader(KaAMCTextSource& src);
  ~KaAMCFieldReader();
  KaAMCFieldReader(const KaAMCFieldReader&) = delete;
  KaAMCFieldReader& operator=(const KaAMCFieldReader&) = delete;

  // Reads one frame into *field. With names given, or when the field is
  // not linked to a name list, the entries are taken in file order (and
  // their names stored into *names); otherwise by name against the list the
  // field is linked to.
  Result read(KaAMCField* field, KtDArray<KtStr>* names);

 private:
  enum Number { NumberRead, NoNumber, BadNumber };
  enum Line { BoneLine, FieldEnd, Failure };
  class NameIndex;

  Number _readNumber(KaAMCField* field);
  Line _nextLine(int fieldNumber, const KtStr* expected, std::string_view* name,
                 std::string_view* values, bool* isExpected);
  bool _scanValues(std::string_view values, int slot, std::string_view name, int fieldNumber);
  void _handOver(KaAMCField* field, int n);
  void _reserveSlots(int n);
  bool _readInFileOrder(KaAMCField* field, KtDArray<KtStr>* names);
  bool _readByName(KaAMCField* field);

  KaAMCTextSource& _src;
  int _valuesLine = 0;  // the line of the last bone line read
  std::vector<float> _scratch;
  std::vector<int> _start;  // per slot: where its values begin in _scratch
  std::vector<int> _count;  // per slot: how many values it has
  std::vector<KtStr> _boneNames;
  std::vector<char> _filled;
  std::unique_ptr<NameIndex> _index;
};

#endif
