#ifndef KT_EULER_ANGLES_H
#define KT_EULER_ANGLES_H

#include "toolkit/KtArray.h"
#include "toolkit/math/Kt3X3FloatMat.h"
#include "toolkit/math/KtPoint.h"

// Conversions between Euler angles and 3 x 3 rotation matrices. Axis codes are
// 1 = X, 2 = Y, 3 = Z; an order lists three codes, first axis first. Angle
// triples are indexed by axis (slot 0 about X, 1 about Y, 2 about Z), not by
// position in the order.

// R(order[2]) . R(order[1]) . R(order[0]), each entry 1, 2 or 3. An entry
// that is no axis code (and a missing one) stands for no rotation, so the
// all-zero order of a default root gives the identity.
Kt3X3FloatMat KtComposeRotationMatrix(const KtArray<float>& angles, const KtArray<int>& order);
Kt3X3FloatMat KtComposeRotationMatrix(const KtPoint& angles, const KtArray<int>& order);

// Angles that compose to m in the given order. A 0 in the third place
// completes the order with the remaining axis; a 0 in the second place
// completes it with the cyclic successors of the first axis (X gives X, Y, Z;
// Y gives Y, Z, X; Z gives Z, X, Y).
void KtGetDecomposedRotationMatrix(float angles[3], const int order[3], const Kt3X3FloatMat& m);

// *out = atan2f(s, c).
void KtFindA(float* out, float s, float c);

// The triple equivalent to cand that lies closest to ref.
void KtGetClosestAngles(float out[3], const float ref[3], const float cand[3], const int order[3]);
void KtGetClosestAngles(KtArray<float>* out, const KtArray<float>& ref, const KtArray<float>& cand,
                        const KtArray<int>& order);
void KtGetClosestAngles(KtArray<float>* out, const KtArray<float>& ref, const KtArray<float>& cand);

// Double-precision forms for work that must keep more than single-precision
// digits (a take resampled between its frames). The same conventions, for
// orders of three distinct axes; the decomposition's middle angle lies in
// [-pi/2, pi/2] and is found without the precision asin loses near its
// ends. The closest angles pick, as the float form does, between the two
// families of equivalent triples, (a, b, c) and (a + pi, pi - b, c + pi),
// each moved by whole turns toward ref.
void KtComposeRotationMatrix(double m[3][3], const double angles[3], const int order[3]);
void KtGetDecomposedRotationMatrix(double angles[3], const int order[3], const double m[3][3]);
void KtGetClosestAngles(double out[3], const double ref[3], const double cand[3],
                        const int order[3]);

#endif
