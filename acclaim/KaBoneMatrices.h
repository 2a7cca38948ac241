#ifndef KA_BONE_MATRICES_H
#define KA_BONE_MATRICES_H

class KaASFBone;
class KtCoordSystem;

// Builds the two rest frames of a skeleton bone. axisFrame receives the
// bone's axis rotation Rb (axis angles taken in the bone's axis order, first
// axis first) with no translation. relFrame receives Rb chained with
// parentFrame, with the parent bone's vector (direction times length)
// carried by parentFrame's rotation as translation; parentFrame's own
// translation is not used. Given the inverse of the parent's accumulated
// axis frame, relFrame is the bone's frame in its parent's axis frame. Both
// outputs are overwritten completely.
void KaGetComposedBoneMatrices(KtCoordSystem* axisFrame, KtCoordSystem* relFrame,
                               const KaASFBone& bone, const KtCoordSystem& parentFrame);

#endif
