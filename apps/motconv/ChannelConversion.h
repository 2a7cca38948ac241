#ifndef CHANNEL_CONVERSION_H
#define CHANNEL_CONVERSION_H

#include <iosfwd>

class KaAMC;
class KaAMCField;
class KaASF;
class KaASFBone;
class KaASFDOFGroup;
class KtCoordSystem;

// Compares, bone by bone, the number of values of the motion's first frame
// with the number of dofs the skeleton declares, and records a warning for
// each bone where they differ (or whose dofs the frame lacks). Records
// warnings only.
void checkAMCAgainstASF(const KaASF& skeleton, const KaAMC& motion);

// Applies one bone's frame values to m: first the translations of its tx,
// ty and tz dofs (times scale), then the rotations of its rotational dofs,
// so that a point of the bone is turned in dof-list order, then moved, then
// carried by m. Values are paired with dofs by position; dofs beyond the
// count values are not applied, and values beyond the dofs are ignored.
// Angles are degrees when degrees is non-zero, else radians.
void applyBoneMotion(KtCoordSystem* m, const KaASFDOFGroup& dofs, const float* values,
                     int count, float scale, int degrees);

// Fills the animated and the rest transform (both world space) of the bone
// named boneName ("root" for the root) in the given frame. The caller
// passes both set to the identity. The chain of parents is walked without
// recursion.
void composeMotionMatrices(KtCoordSystem* animated, KtCoordSystem* rest, const KaASF& skeleton,
                           const KaAMCField& frame, const char* boneName, float scale,
                           int degrees);

// Writes one bone's channel values for one frame, each followed by one
// blank: its translation in its parent's animated frame when the dof list
// holds a translation, then the rotation values as read. Records an error
// and writes nothing when the number of values differs from the number of
// dofs.
void printBoneChannels(std::ostream& out, const char* boneName, const KaASF& skeleton,
                       const KaAMCField& frame, const KaASFDOFGroup& dofs, const float* values,
                       int count, int degrees);

// printBoneChannels for a writer that already holds the bone (null for the
// root), the codes of its dof list (codes[0..n)) and the scale, so that
// nothing is looked up per frame.
void printBoneChannelsOf(std::ostream& out, const KaASFBone* bone, const KaASF& skeleton,
                         const KaAMCField& frame, const int* codes, int n, const float* values,
                         int count, int degrees, float scale);

// The factor that takes the skeleton's lengths to the motion's units:
// 1 / length factor, formed in double precision.
float motconvScale(const KaASF& skeleton);

#endif
