#ifndef KA_ASF_H
#define KA_ASF_H

#include <cfloat>
#include <iosfwd>

#include "toolkit/KtArray.h"
#include "toolkit/KtDArray.h"
#include "toolkit/KtList.h"
#include "toolkit/KtStr.h"
#include "toolkit/math/KtPoint.h"

// Dof codes shared by the ASF and AMC layers.
enum KaASFDOFCode { KaTX = 1, KaTY = 2, KaTZ = 3, KaRX = 4, KaRY = 5, KaRZ = 6, KaL = 7 };

// The dof code of a text ("tx" ... "rz", "l", any case), -1 for any other.
int KaASFDofCode(const char* text);
// The text of a dof code, null outside 1 to 7.
const char* KaASFDofText(int code);
inline bool KaASFIsRotationalDof(int code) {
  return code >= 4 && code < 7;
}

class KaASFDOFGroup;

// A lower and an upper limit; the largest floats mean "unlimited".
class KaASFLimits {
 public:
  float lower = -FLT_MAX;
  float upper = FLT_MAX;

  void printOn(std::ostream& out, int toDegrees) const;
};

// One degree of freedom. A dof taken from a named group points to that group
// (not owned) and reports the group's limits instead of its own.
class KaASFDOF {
 public:
  KaASFDOF() = default;
  KaASFDOF(int code, KaASFDOFGroup* fromGroup = nullptr) : group(fromGroup), dof(code) {}

  KaASFLimits* limits();
  const KaASFLimits* limits() const;
  void printOn(std::ostream& out) const;

  KaASFDOFGroup* group = nullptr;
  int dof = -1;
  KaASFLimits _limits;
};

// A named, ordered list of dofs it owns: a :dofgroups group, the root's
// order or a bone's dof list (the last two unnamed).
class KaASFDOFGroup {
 public:
  KaASFDOFGroup() = default;
  KaASFDOFGroup(const KaASFDOFGroup& other);
  KaASFDOFGroup& operator=(const KaASFDOFGroup& other);
  ~KaASFDOFGroup();

  bool usesDOFGroup(const char* groupName) const;
  bool hasGroupDOFs() const;
  bool hasNonGroupDOFs() const;
  bool hasDOF(int code) const;
  int count() const { return dofs.count(); }
  bool isEmpty() const { return dofs.isEmpty(); }

  void addDOF(int code);
  void addDOF(const KtDArray<int>& codes);
  void addDOF(const KaASFDOF& dof);
  void setDOFs(const KtDArray<int>& codes);
  void setDOFs(const KtList<KaASFDOF*>& list);
  void clearDOFs();

  // Position from 0 of the first dof with that code, -1 when none.
  int dofIndex(int code) const;
  KaASFLimits* limits(int code);
  const KaASFLimits* limits(int code) const;
  // The dof at a position (from 0), null outside the list.
  KaASFDOF* dofAt(int index) const;

  void printOn(std::ostream& out, int toDegrees) const;

  KtStr name = "";
  KtList<KaASFDOF*> dofs;
};

class KaASFRoot {
 public:
  KaASFRoot() : orientation(3, 0.0f), axis(3, 0) {}

  void setAxisOrient(const KtPoint& p);
  bool _axisOrientOrderValid() const;
  void printOn(std::ostream& out, int toDegrees) const;

  KtPoint position;
  KtArray<float> orientation;
  KtArray<int> axis;
  KaASFDOFGroup order;
};

// A bone; parent and child are links into the same skeleton, not owned.
class KaASFBone {
 public:
  KaASFBone() : axis(3, 0.0f), order(3, 0) {}

  int id() const { return _id; }
  void setId(int id) { _id = id; }
  bool _axisOrientOrderValid() const;
  void printOn(std::ostream& out, int toDegrees) const;

  int _id = 0;
  KtStr name = "";
  KaASFBone* parent = nullptr;
  KaASFBone* child = nullptr;
  KtPoint direction;
  float length = 0;
  KtArray<float> axis;
  KtArray<int> order;
  float bodymass = 0;
  float cofmass = 0;
  KaASFDOFGroup dofs;
  int line = 0;  // the line of its name in the file read, 0 when not read
};

class KaASFHeader {
 public:
  void printOn(std::ostream& out) const;

  int internal = 0;
  float version = 0;
  KtStr name = "";
  float mass = 1.0f;
  float length = 1.0f;
  short angleInDegrees = 0;
  KtStr documentation;
};

// A whole skeleton: it owns its header, root, bones and dof groups.
class KaASF {
 public:
  KaASF() = default;
  KaASF(const KaASF& other);
  KaASF& operator=(const KaASF& other);
  ~KaASF();

  // Reading (bones and groups are appended; on failure the skeleton is cleared).
  void read(const char* path);
  void scanFrom(std::istream& in);
  static int streamContainsASF(std::istream& in, int* internal, float* version);
  static int fileContainsASF(const char* path);

  void save(const char* path) const;
  void printOn(std::ostream& out) const;
  void printBoneListOn(std::ostream& out) const;

  void addDOFGroup(const KaASFDOFGroup& group);
  void addBone(const KaASFBone& bone);
  void removeDOFGroup(const char* name);
  void removeDOFGroups();

  KaASFBone* findBone(int id) const;
  // First bone whose name matches without regard to case.
  KaASFBone* findBone(const char* name) const;
  // First group whose name matches exactly.
  KaASFDOFGroup* findDOFGroup(const char* name) const;
  void getChildBonesOfRoot(KtList<KaASFBone*>* out) const;
  void getChildBonesOfBone(KtList<KaASFBone*>* out, int id) const;
  int lastBoneId() const;
  int firstUnusedBoneId() const;
  int numBonesWithDOF() const;

  bool _bonesUseDOFGroup(const char* name) const;
  bool _bonesUseGroupDOFs() const;
  void _clear();

  KaASFHeader header;
  KtList<KaASFDOFGroup*> dofGroups;
  KaASFRoot root;
  KtList<KaASFBone*> bones;
  KtDArray<KtStr> skins;
};

#endif
