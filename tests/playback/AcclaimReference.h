#ifndef ACCLAIM_REFERENCE_H
#define ACCLAIM_REFERENCE_H

// The forward kinematics of an ASF skeleton posed by an AMC frame, in
// double precision and straight from the ASF/AMC definitions, written apart
// from the converters' own composition:
// - a bone's axis rotation C is its axis angles composed in its axis order
//   (first letter applied first), its motion M its rotation dofs in dof-list
//   order (first listed applied first), in the take's angle unit;
// - world motion G_b = C^T . M . C . G_parent; the bone's frame is C . G_b;
// - it starts at the parent's tip + t_b / L . C . G_parent (t_b its tx ty tz
//   values, zero without such dofs) and ends at start + length / L .
//   direction . G_b (L the length factor);
// - the root is a bone whose axis is its orientation O: G = O^T . M . O,
//   frame M . O, start (t . O + position) / L, t its translation values.
// The skeleton must have been read with the root position as the file
// gives it (motconv's reading).

#include <string>
#include <vector>

#include "tests/playback/PlaybackMath.h"

class KaASF;
class KaAMCField;

namespace playback {

struct BonePose {
  std::string name;  // "root" for the root
  Vec3 start;
  Vec3 tip;
  Mat3 frame;
};

// The root first, then the bones in the skeleton's bone-list order.
std::vector<BonePose> acclaimPose(const KaASF& skeleton, const KaAMCField& frame, int degrees);

}  // namespace playback

#endif
