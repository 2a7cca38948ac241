#include "apps/motconv/TakeResampler.h"

#include <climits>
#include <cmath>

#include "acclaim/KaASF.h"
#include "toolkit/KtExcept.h"
#include "toolkit/math/KtEulerAngles.h"
#include "toolkit/math/KtQuaternion.h"

namespace {

const double kPi = 3.141592653589793;

void recordOrderError(int number, int previous) {
  KtError("Frame %d follows frame %d: with -capture the frame numbers must increase.", number,
          previous);
}

void recordRangeError(int number, const MotconvCaptureRate& rate, long long scene, int fps) {
  KtError(
      "Frame %d, captured at %s frames per second, falls on scene frame %lld at %d frames per "
      "second, beyond the frame numbers a MOV line can carry.",
      number, rate.text, scene, fps);
}

void recordEmptyError(int first, int last, const MotconvCaptureRate& rate, int fps) {
  KtError(
      "The take's frames %d to %d, captured at %s frames per second, cover no frame of the "
      "scene at %d frames per second.",
      first, last, rate.text, fps);
}

// The scene frames that the frame numbered number adds to the time line
// after the frame numbered previous (the first frame when isFirst), as
// from .. to; false with an error recorded when they do not fit an int.
bool sceneFramesOf(const CaptureTimeLine& line, bool isFirst, int previous, int number,
                   const MotconvCaptureRate& rate, int fps, long long* from, long long* to) {
  *from = isFirst ? line.sceneFrameAtOrAfter(number) : line.sceneFrameAtOrBefore(previous) + 1;
  *to = line.sceneFrameAtOrBefore(number);
  if (*from <= *to && (*from < INT_MIN || *to > INT_MAX)) {
    recordRangeError(number, rate, *to > INT_MAX ? *to : *from, fps);
    return false;
  }
  return true;
}

const KaASFDOFGroup* dofsOfName(const KaASF& skeleton, const KtStr& name) {
  if (name.iCmp("root") == 0) return &skeleton.root.order;
  for (const KaASFBone* bone : skeleton.bones)
    if (bone->name.iCmp(name.text()) == 0) return &bone->dofs;
  return nullptr;
}

// b - a brought within half a turn.
double shortestStep(double a, double b, double halfTurn) {
  double d = b - a;
  d -= 2.0 * halfTurn * std::round(d / (2.0 * halfTurn));
  while (d > halfTurn) d -= 2.0 * halfTurn;
  while (d < -halfTurn) d += 2.0 * halfTurn;
  return d;
}

}  // namespace

TakeResampler::TakeResampler(const KaASF& skeleton, const KtArray<KtStr>& boneNames, int degrees,
                             const MotconvCaptureRate& rate, int fps)
    : _names(boneNames),
      _halfTurn(degrees ? 180.0 : kPi),
      _toRadians(degrees ? kPi / 180.0 : 1.0),
      _timeLine(rate, fps),
      _rate(rate),
      _fps(fps),
      _staging(boneNames.count()) {
  _slots.resize(boneNames.count());
  _slotFields.resize(boneNames.count());
  for (int i = 0; i < boneNames.count(); ++i) {
    _slotFields[i].setNumBones(1);
    const KaASFDOFGroup* dofs = dofsOfName(skeleton, boneNames[i]);
    if (!dofs) continue;
    Slot& slot = _slots[i];
    slot.dofs = dofs->count();
    int turning = 0;
    int axes = 0;  // the axes named, as bits
    int k = 0;
    for (const KaASFDOF* dof : dofs->dofs) {
      const bool rotational = KaASFIsRotationalDof(dof->dof);
      slot.angle.push_back(rotational);
      if (rotational) {
        if (turning < 3) {
          slot.turning[turning] = k;
          // The motion turns by the first listed rotation first, which the
          // composition takes in the last place of its order.
          slot.order[2 - turning] = dof->dof - KaRX + 1;
        }
        ++turning;
        axes |= 1 << (dof->dof - KaRX);
      }
      ++k;
    }
    slot.slerp = turning == 3 && axes == 7;
  }
  _out.setBoneNamesPtr(&_names);
}

bool TakeResampler::feed(const KaAMCField& frame) {
  if (_timeLine.passesThrough()) {
    _after = frame;
    _nextScene = _lastScene = frame.number;
    ++_frames;
    return true;
  }
  if (_frames > 0 && frame.number <= _after.number) {
    recordOrderError(frame.number, _after.number);
    return false;
  }
  long long from = 0;
  long long to = 0;
  if (!sceneFramesOf(_timeLine, _frames == 0, _after.number, frame.number, _rate, _fps, &from, &to))
    return false;
  if (_frames == 0) _firstNumber = frame.number;
  _before = std::move(_after);
  _after = frame;
  ++_frames;
  _nextScene = from;
  _lastScene = to;
  return true;
}

bool TakeResampler::finish() {
  if (_frames > 0 && !_handedOut && !_timeLine.passesThrough()) {
    recordEmptyError(_firstNumber, _after.number, _rate, _fps);
    return false;
  }
  return true;
}

const KaAMCField* TakeResampler::next() {
  if (_nextScene > _lastScene) return nullptr;
  const long long m = _nextScene++;
  _handedOut = true;
  if (_timeLine.passesThrough()) return &_after;
  const CaptureTimeLine::CaptureTime u = _timeLine.captureTimeOf(m);
  if (u.exact && u.whole == _after.number) {
    _keep(_after, m);
  } else {
    const double w = ((double)(u.whole - _before.number) + u.fraction) /
                     (double)(_after.number - _before.number);
    _interpolate(m, w);
  }
  _rememberAngles(_out);
  return &_out;
}

void TakeResampler::_keep(const KaAMCField& frame, long long m) {
  _out = frame;
  _out.number = (int)m;
}

void TakeResampler::_rememberAngles(const KaAMCField& frame) {
  const int n = frame.bones.count() < (int)_slots.size() ? frame.bones.count() : (int)_slots.size();
  for (int i = 0; i < n; ++i) {
    Slot& slot = _slots[i];
    const KaAMCValues& values = frame.bones[i].values;
    if (!slot.slerp || values.count() != slot.dofs) continue;
    for (int t = 0; t < 3; ++t)
      slot.reference[slot.order[2 - t] - 1] = (double)values[slot.turning[t]] * _toRadians;
  }
  _haveReference = true;
}

void TakeResampler::_interpolate(long long m, double w) {
  const int n = _before.bones.count();
  if (_staging.count() != n) _staging = KtArray<KaAMCBone>(n);
  for (int i = 0; i < n; ++i) {
    const KaAMCBone& a = _before.bones[i];
    const KaAMCBone& b = i < _after.bones.count() ? _after.bones[i] : a;
    _interpolateSlot(i, a, b, w, &_values);
    if (i >= (int)_slotFields.size()) {
      _slotFields.resize(i + 1);
      _slotFields[i].setNumBones(1);
    }
    _slotFields[i].setBoneValues(0, _values.data(), (int)_values.size());
    _staging[i] = _slotFields[i].bones[0];
  }
  // One copy of all the values into the frame handed out.
  _out.setBones(_staging);
  _out.number = (int)m;
}

void TakeResampler::_interpolateSlot(int i, const KaAMCBone& a, const KaAMCBone& b, double w,
                                     std::vector<float>* values) {
  const int count = a.values.count();
  values->resize(count);
  const Slot* slot = i < (int)_slots.size() ? &_slots[i] : nullptr;
  const bool known = slot && slot->dofs == count;
  // An entry whose values do not pair with the other frame's or with the
  // bone's dofs keeps the frame before's values; the channel conversion
  // reports a bone's mismatch as it does for any frame.
  if (b.values.count() != count || (slot && slot->dofs >= 0 && !known)) {
    for (int k = 0; k < count; ++k) (*values)[k] = a.values[k];
    return;
  }
  for (int k = 0; k < count; ++k) {
    const double va = a.values[k];
    const double vb = b.values[k];
    double v = va + w * (vb - va);
    if (known && slot->angle[k] && !slot->slerp) v = va + w * shortestStep(va, vb, _halfTurn);
    (*values)[k] = (float)v;
  }
  if (!known || !slot->slerp) return;

  double anglesA[3];
  double anglesB[3];
  for (int t = 0; t < 3; ++t) {
    const int axis = slot->order[2 - t] - 1;
    anglesA[axis] = (double)a.values[slot->turning[t]] * _toRadians;
    anglesB[axis] = (double)b.values[slot->turning[t]] * _toRadians;
  }
  double ma[3][3];
  double mb[3][3];
  KtComposeRotationMatrix(ma, anglesA, slot->order);
  KtComposeRotationMatrix(mb, anglesB, slot->order);
  const KtDoubleQuaternion q =
      KtSlerpShorter(KtQuaternionOfRotation(ma), KtQuaternionOfRotation(mb), w);
  double mq[3][3];
  KtRotationOfQuaternion(mq, q);
  double candidate[3];
  KtGetDecomposedRotationMatrix(candidate, slot->order, mq);
  double nearest[3];
  KtGetClosestAngles(nearest, _haveReference ? slot->reference : anglesA, candidate, slot->order);
  for (int t = 0; t < 3; ++t)
    // + 0.0 writes a zero angle as 0, never as -0.
    (*values)[slot->turning[t]] = (float)(nearest[slot->order[2 - t] - 1] / _toRadians + 0.0);
}

long long motconvFirstSceneFrame(int firstNumber, const MotconvCaptureRate& rate, int fps) {
  const CaptureTimeLine line(rate, fps);
  return line.passesThrough() ? firstNumber : line.sceneFrameAtOrAfter(firstNumber);
}
