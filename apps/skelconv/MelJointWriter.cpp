#include "apps/skelconv/MelJointWriter.h"

#include <cmath>
#include <ostream>
#include <unordered_map>
#include <vector>

#include "acclaim/KaASF.h"
#include "apps/common/ClJointPrefix.h"
#include "apps/common/ClScriptName.h"
#include "toolkit/KtExcept.h"
#include "toolkit/math/Kt3X3FloatMat.h"
#include "toolkit/math/KtEulerAngles.h"

namespace {

// One joint to write: a bone of the skeleton, or the end joint at a leaf's tip.
struct JointJob {
  const KaASFBone* bone;
  bool isEnd;
  KtPoint start;
};

void writeCoordinate(std::ostream& out, float value, const char* suffix) {
  if (value == 0.0f)
    out << "0";
  else
    out << value << suffix;
}

// Raro cannot read "inf" or "nan": a position that overflowed on its way
// down a chain of huge bones (each finite on its own) fails the script,
// which is then not put in place. Only the first such joint is named.
void checkFinite(const KtStr& joint, const char* what, float a, float b, float c) {
  if (std::isfinite(a) && std::isfinite(b) && std::isfinite(c)) return;
  if (theExceptObj.errorOccurred()) return;
  KtError("The %s of joint \"%s\" is not a finite number.", what, joint.text());
}

void writeTriple(std::ostream& out, float a, float b, float c, const char* suffix) {
  writeCoordinate(out, a, suffix);
  out << " ";
  writeCoordinate(out, b, suffix);
  out << " ";
  writeCoordinate(out, c, suffix);
}

// The rotations in the order the dof list gives them, completed by the
// missing axes in xyz order, then the present axes as the -dof string.
void writeRotationOrderAndDOF(std::ostream& out, const KaASFDOFGroup& dofs) {
  static const char letters[3] = {'x', 'y', 'z'};
  bool present[3] = {false, false, false};
  for (int i = 0; i < dofs.count(); i++) {
    int code = dofs.dofAt(i)->dof;
    if (code >= KaRX && code <= KaRZ) {
      out << letters[code - KaRX];
      present[code - KaRX] = true;
    }
  }
  for (int a = 0; a < 3; a++)
    if (!present[a]) out << letters[a];
  out << " -dof \"";
  for (int a = 0; a < 3; a++)
    if (present[a]) out << letters[a];
  out << "\"";
}

void writeTranslationAttribute(std::ostream& out, const KaASFDOFGroup& dofs, const KtStr& name) {
  bool tx = dofs.hasDOF(KaTX), ty = dofs.hasDOF(KaTY), tz = dofs.hasDOF(KaTZ);
  if (!tx && !ty && !tz) return;
  out << "addAttr -dt \"string\" -sn tdof -ln translateDegreesOfFreedom " << name << ";\n";
  out << "setAttr " << name << ".tdof -type \"string\" \"";
  if (tx) out << "x";
  if (ty) out << "y";
  if (tz) out << "z";
  out << "\";\n";
}

// The frame of an ASF axis entry: its angles composed in the reversed order.
Kt3X3FloatMat axisFrame(const KtArray<float>& angles, const KtArray<int>& order) {
  KtArray<int> reversed(3, 0);
  reversed[0] = order[2];
  reversed[1] = order[1];
  reversed[2] = order[0];
  return KtComposeRotationMatrix(angles, reversed);
}

// The orientation of a joint whose frame is f, relative to its parent's p.
void orientationAngles(float angles[3], const Kt3X3FloatMat& f, const Kt3X3FloatMat& p) {
  Kt3X3FloatMat relative;
  for (int r = 0; r < 3; r++)
    for (int c = 0; c < 3; c++) {
      float sum = 0.0f;
      for (int k = 0; k < 3; k++) sum += f.m[r][k] * p.m[c][k];
      relative.m[r][c] = sum;
    }
  static const int zyx[3] = {3, 2, 1};
  KtGetDecomposedRotationMatrix(angles, zyx, relative);
}

void writeRootJoint(std::ostream& out, const KaASFRoot& root, const KtStr& prefix) {
  KtStr name = prefix;
  name += "root";
  out << "select -cl;\n";
  out << "joint -name " << name << " ";
  out << "-position ";
  checkFinite(name, "position", root.position.x, root.position.y, root.position.z);
  writeTriple(out, root.position.x, root.position.y, root.position.z, "in");
  out << " -rotationOrder ";
  writeRotationOrderAndDOF(out, root.order);
  out << " -orientation ";
  float angles[3];
  orientationAngles(angles, axisFrame(root.orientation, root.axis),
                    Kt3X3FloatMat::MultiplicativeIdentity);
  checkFinite(name, "orientation", angles[0], angles[1], angles[2]);
  writeTriple(out, angles[0], angles[1], angles[2], "rad");
  out << ";\n";
  writeTranslationAttribute(out, root.order, name);
}

void writeBoneJoint(std::ostream& out, const KaASF& asf, const JointJob& job, const KtStr& prefix) {
  const KaASFBone& bone = *job.bone;
  KtStr name = prefix;
  name += bone.name;
  if (job.isEnd) name += "_end";

  out << "select -r " << prefix;
  if (job.isEnd)
    out << bone.name;
  else if (bone.parent)
    out << bone.parent->name;
  else
    out << "root";
  out << ";\n";

  out << "joint -name " << name << " -absolute ";
  out << "-position ";
  checkFinite(name, "position", job.start.x, job.start.y, job.start.z);
  writeTriple(out, job.start.x, job.start.y, job.start.z, "in");
  out << " -rotationOrder ";
  static const KaASFDOFGroup noDOFs;
  const KaASFDOFGroup& dofs = job.isEnd ? noDOFs : bone.dofs;
  writeRotationOrderAndDOF(out, dofs);
  out << " -orientation ";
  Kt3X3FloatMat frame = axisFrame(bone.axis, bone.order);
  Kt3X3FloatMat parentFrame;
  if (job.isEnd)
    parentFrame = frame;
  else if (bone.parent)
    parentFrame = axisFrame(bone.parent->axis, bone.parent->order);
  else
    parentFrame = axisFrame(asf.root.orientation, asf.root.axis);
  float angles[3];
  orientationAngles(angles, frame, parentFrame);
  checkFinite(name, "orientation", angles[0], angles[1], angles[2]);
  writeTriple(out, angles[0], angles[1], angles[2], "rad");
  out << ";\n";
  writeTranslationAttribute(out, dofs, name);
}

KtPoint tipOf(const KaASFBone& bone, const KtPoint& start) {
  KtPoint tip = start;
  tip.x += bone.direction.x * bone.length;
  tip.y += bone.direction.y * bone.length;
  tip.z += bone.direction.z * bone.length;
  return tip;
}

}  // namespace

void writeMelJointScript(std::ostream& out, const KaASF& asf, const KtStr& prefix) {
  writeRootJoint(out, asf.root, prefix);

  // Children by parent id in the skeleton's bone order, as the model's
  // child queries give them; built once so that big skeletons stay linear.
  std::vector<const KaASFBone*> rootChildren;
  std::unordered_map<int, std::vector<const KaASFBone*>> children;
  for (const KaASFBone* bone : asf.bones) {
    if (bone->parent)
      children[bone->parent->id()].push_back(bone);
    else
      rootChildren.push_back(bone);
  }

  // Depth first with an explicit stack, so deep chains cannot exhaust the
  // call stack; children are pushed last first to keep their order.
  std::vector<JointJob> stack;
  for (auto c = rootChildren.rbegin(); c != rootChildren.rend(); ++c)
    stack.push_back({*c, false, asf.root.position});
  while (!stack.empty()) {
    JointJob job = stack.back();
    stack.pop_back();
    writeBoneJoint(out, asf, job, prefix);
    if (job.isEnd) continue;
    KtPoint tip = tipOf(*job.bone, job.start);
    auto found = children.find(job.bone->id());
    if (found != children.end() && !found->second.empty()) {
      for (auto c = found->second.rbegin(); c != found->second.rend(); ++c)
        stack.push_back({*c, false, tip});
    } else if (job.bone->length > 0) {
      stack.push_back({job.bone, true, tip});
    }
  }
}

const char* findUnsafeJointName(const KaASF& asf, const KtStr& prefix) {
  if (!ClIsScriptName(ClJointName(prefix, "root"))) return "root";
  for (const KaASFBone* bone : asf.bones)
    if (!ClIsScriptName(ClJointName(prefix, bone->name))) return bone->name;
  return nullptr;
}
