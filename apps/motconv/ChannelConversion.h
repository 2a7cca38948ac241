#ifndef CHANNEL_CONVERSION_H
#define CHANNEL_CONVERSION_H

#include <iosfwd>
#include <vector>

#include "toolkit/math/KtCoordSystem.h"

class KaAMC;
class KaAMCBone;
class KaAMCField;
class KaASF;
class KaASFBone;
class KaASFDOFGroup;

// Compares, bone by bone, the number of values of the motion's first frame
// with the number of dofs the skeleton declares, and records a warning for
// each bone where they differ (or whose dofs the frame lacks), then for
// each bone of the frame that the skeleton lacks. Records warnings only.
void checkAMCAgainstASF(const KaASF& skeleton, const KaAMC& motion);

// Applies one bone's frame values to m: first the translations of its tx,
// ty and tz dofs (times scale), then the rotations of its rotational dofs,
// so that a point of the bone is turned in dof-list order, then moved, then
// carried by m. Values are paired with dofs by position; dofs beyond the
// count values are not applied, and values beyond the dofs are ignored.
// Angles are degrees when degrees is non-zero, else radians.
void applyBoneMotion(KtCoordSystem* m, const KaASFDOFGroup& dofs, const float* values, int count,
                     float scale, int degrees);

// Fills the animated and the rest transform (both world space) of the bone
// named boneName ("root" for the root) in the given frame; whatever both
// held before is replaced. The chain of parents is walked without
// recursion.
void composeMotionMatrices(KtCoordSystem* animated, KtCoordSystem* rest, const KaASF& skeleton,
                           const KaAMCField& frame, const char* boneName, float scale, int degrees);

// Writes one bone's channel values for one frame, each followed by one
// blank: its translation in its parent's animated frame when the dof list
// holds a translation, then the rotation values as read. Records an error
// and writes nothing when the number of values differs from the number of
// dofs.
void printBoneChannels(std::ostream& out, const char* boneName, const KaASF& skeleton,
                       const KaAMCField& frame, const KaASFDOFGroup& dofs, const float* values,
                       int count, int degrees);

// Converts a motion frame by frame: the root and every bone of the skeleton
// (in bone-list order) are its columns, column 0 being the root. Each
// frame's entries are found by the slot the motion's name list gives each
// name, and the transforms a frame needs are composed once per frame, each
// bone's from its parent's, from the root down: the rest transforms (which
// depend only on the skeleton and on whether the frame has a root entry)
// once per run, the animated ones only for the bones whose translation is
// written and their ancestors. The numbers are those of the per-bone
// functions above, bit for bit. The skeleton and the motion must outlive
// the converter and stay unchanged while it is used.
class ChannelConverter {
 public:
  ChannelConverter(const KaASF& skeleton, const KaAMC& motion);
  ChannelConverter(const ChannelConverter&) = delete;
  ChannelConverter& operator=(const ChannelConverter&) = delete;
  ~ChannelConverter();

  // 1 + the number of bones.
  int columnCount() const;
  // The column's name ("root" for column 0).
  const char* name(int column) const;
  // Makes frame the current frame (until the next call); the frame must
  // stay unchanged while it is current.
  void setFrame(const KaAMCField& frame);
  // The current frame's entry for the column, or null.
  const KaAMCBone* entry(int column) const;
  // printBoneChannels for the column's entry in the current frame (which
  // must have one).
  void printChannels(std::ostream& out, int column);

 private:
  // The root (node 0) or one distinct bone of the skeleton.
  struct Node;
  const KtCoordSystem& _restOf(int node, int withRoot);
  const KtCoordSystem& _animatedOf(int node);
  const KtCoordSystem& _parentAnimatedOf(int node);

  const KaASF& _skeleton;
  const KaAMC& _motion;
  const float _scale;
  const int _degrees;
  const KaAMCField* _frame = nullptr;
  unsigned long long _stamp = 0;  // counts the frames made current
  int _withRoot = 0;
  KtCoordSystem _identity;
  std::vector<Node> _nodes;
  std::vector<int> _columnNode;  // per column: its node
  std::vector<int> _path;        // scratch: a chain of nodes to compose
};

// The factor that takes the skeleton's lengths to the motion's units:
// 1 / length factor, formed in double precision.
float motconvScale(const KaASF& skeleton);

#endif
