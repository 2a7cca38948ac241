#ifndef TAKE_RESAMPLER_H
#define TAKE_RESAMPLER_H

#include <vector>

#include "acclaim/KaAMC.h"
#include "apps/motconv/CaptureTimeLine.h"

class KaASF;

// Puts a take captured at its own rate on the scene's time line, as a
// stream: it is fed the AMC frames one at a time in file order (each with
// its entries in the slots of the first frame's name list) and hands out,
// as soon as they are determined, the scene frames from
// ceil(n_first F / C) to floor(n_last F / C), each a frame numbered with its
// scene frame m and linked to the same name list:
// - where u = m C / F is the number of a frame of the take, that frame's
//   values unchanged;
// - otherwise the values between the frames n0 < u < n1 on either side,
//   weight w = (u - n0) / (n1 - n0): translations and other values
//   linearly; the three angles of a bone (or the root) whose three
//   rotational dofs name three axes by spherical interpolation along the
//   shorter arc of the rotation they build, written back in the bone's dof
//   order and angle unit as the angle set nearest to the previous scene
//   frame's; the angles of a bone with one or two rotational dofs (or any
//   other set) one by one after bringing n1's within half a turn of n0's.
// With C equal to F every frame is handed out as it is. It holds at most
// the two frames it interpolates between and the frame handed out last.
// The skeleton and the name list must outlive it.
class TakeResampler {
 public:
  TakeResampler(const KaASF& skeleton, const KtArray<KtStr>& boneNames, int degrees,
                const MotconvCaptureRate& rate, int fps);

  // Takes the next frame of the take. Records an error and returns false
  // for a frame whose number does not follow the one before, or whose
  // scene frames lie beyond the frame numbers a line can carry.
  bool feed(const KaAMCField& frame);
  // The end of the take. Records an error and returns false when the take
  // covered no scene frame at all.
  bool finish();
  // The next scene frame determined so far, or null; valid until the next
  // call of a member. Call it until it gives null after each feed: the
  // next feed replaces the frames still pending.
  const KaAMCField* next();

 private:
  // What a slot of the name list holds, from the skeleton.
  struct Slot {
    int dofs = -1;        // the bone's dof count, -1 for a name no bone has
    int turning[3] = {};  // positions of the three rotational dofs, or
    int order[3] = {};    // their axis codes, for a slerped bone
    bool slerp = false;
    std::vector<char> angle;   // per dof: a rotational one
    double reference[3] = {};  // the previous line's angles, radians by axis
  };

  void _interpolate(long long m, double w);
  void _keep(const KaAMCField& frame, long long m);
  void _rememberAngles(const KaAMCField& frame);
  void _interpolateSlot(int i, const KaAMCBone& a, const KaAMCBone& b, double w,
                        std::vector<float>* values);

  const KtArray<KtStr>& _names;
  const double _halfTurn;  // in the take's angle unit
  const double _toRadians;
  CaptureTimeLine _timeLine;
  MotconvCaptureRate _rate;
  int _fps;
  std::vector<Slot> _slots;

  int _frames = 0;  // fed so far
  int _firstNumber = 0;
  KaAMCField _before;  // n0
  KaAMCField _after;   // n1, the frame fed last
  long long _nextScene = 0;
  long long _lastScene = -1;  // the pending scene frames: _nextScene .. _lastScene
  bool _handedOut = false;
  bool _haveReference = false;

  KaAMCField _out;
  std::vector<KaAMCField> _slotFields;  // one entry each: builds _out in linear time
  KtArray<KaAMCBone> _staging;
  std::vector<float> _values;
};

// The first scene frame of a take whose first frame is numbered firstNumber:
// firstNumber itself when the rates are equal.
long long motconvFirstSceneFrame(int firstNumber, const MotconvCaptureRate& rate, int fps);

#endif
