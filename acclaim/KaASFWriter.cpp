#include <cfloat>
#include <cmath>
#include <iostream>
#include <unordered_map>
#include <vector>

#include "acclaim/KaASF.h"
#include "acclaim/KaASFReaderSections.h"
#include "toolkit/KtCompStream.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtPathCheck.h"

namespace {

std::ostream& endLine(std::ostream& out) {
  return out << '\n' << std::flush;
}

void writeASFNumber(std::ostream& out, float value, int toDegrees, int decimals) {
  out.setf(std::ios::fixed, std::ios::floatfield);
  std::streamsize old = out.precision(decimals);
  if (toDegrees)
    out << KaASFRadiansToDegrees(value);
  else
    out << value;
  out.precision(old);
}

void writeASFPoint(std::ostream& out, const KtPoint& p) {
  out << p.x << ' ' << p.y << ' ' << p.z;
}

void writeASFAngles(std::ostream& out, const KtArray<float>& a, int toDegrees) {
  for (int i = 0; i < 3 && i < a.count(); i++) {
    if (i > 0) out << ' ';
    writeASFNumber(out, a[i], toDegrees, 4);
  }
}

void writeASFAxisOrder(std::ostream& out, const KtArray<int>& order) {
  for (int i = 0; i < 3 && i < order.count(); i++)
    if (order[i] >= 1 && order[i] <= 3) out << "xyz"[order[i] - 1];
}

void writeASFDof(std::ostream& out, int code) {
  const char* text = KaASFDofText(code);
  if (text)
    out << text;
  else
    std::cerr << "Invalid dof value '" << code << "'\n";
}

void writeASFDofList(std::ostream& out, const KaASFDOFGroup& list) {
  std::vector<const KaASFDOF*> dofs;
  for (const KaASFDOF* dof : list.dofs) dofs.push_back(dof);
  size_t i = 0;
  while (i < dofs.size()) {
    const KaASFDOFGroup* group = dofs[i]->group;
    out << ' ';
    if (!group) {
      writeASFDof(out, dofs[i++]->dof);
      continue;
    }
    out << group->name;
    size_t n = (size_t)group->count();
    bool whole = n > 0;
    size_t k = 0;
    for (const KaASFDOF* member : group->dofs) {
      if (i + k >= dofs.size() || dofs[i + k]->group != group || dofs[i + k]->dof != member->dof) {
        whole = false;
        break;
      }
      k++;
    }
    if (whole) {
      i += n;
      continue;
    }
    out << '<';
    writeASFDof(out, dofs[i++]->dof);
    while (i < dofs.size() && dofs[i]->group == group) {
      out << ' ';
      writeASFDof(out, dofs[i++]->dof);
    }
    out << '>';
  }
}

// The limits of a list's own dofs, the first after lead, the others after
// eleven blanks so that the pairs line up.
void writeOwnLimits(std::ostream& out, const KaASFDOFGroup& list, const char* lead, int toDegrees) {
  bool first = true;
  for (const KaASFDOF* dof : list.dofs) {
    if (dof->group) continue;
    out << (first ? lead : "           ");
    first = false;
    dof->_limits.printOn(out, toDegrees && KaASFIsRotationalDof(dof->dof));
  }
}

// A side that is unlimited, also after a degree file's reader scaled the
// unlimited value down to radians.
bool isUnlimited(float value, int toDegrees, float sign) {
  if (value == sign * FLT_MAX) return true;
  return toDegrees && value == sign * KaASFDegreesToRadians(FLT_MAX);
}

void writeLimitSide(std::ostream& out, float value, int toDegrees, const char* end) {
  if (isUnlimited(value, toDegrees, -1.0f))
    out << "-inf" << end;
  else if (isUnlimited(value, toDegrees, 1.0f))
    out << "inf" << end;
  else {
    writeASFNumber(out, value, toDegrees, 2);
    out << end;
  }
}

}  // namespace

void KaASFLimits::printOn(std::ostream& out, int toDegrees) const {
  out << '(';
  writeLimitSide(out, lower, toDegrees, " ");
  writeLimitSide(out, upper, toDegrees, ")\n");
}

void KaASFDOF::printOn(std::ostream& out) const {
  if (group)
    out << group->name;
  else
    writeASFDof(out, dof);
}

void KaASFHeader::printOn(std::ostream& out) const {
  auto failed = [&out](const char* message) {
    if (out) return false;
    KtError("%s", message);
    return true;
  };
  if (internal) out << ":asf-internal\n";
  out << ":version ";
  writeASFNumber(out, version, 0, 2);
  endLine(out);
  if (failed("Unable to write version.")) return;
  out << ":name " << name;
  if (failed("Unable to write skeleton name.")) return;
  endLine(out) << ":units\n";
  if (failed("Unable to write units.")) return;
  out << (angleInDegrees ? "  angle deg\n" : "  angle rad\n");
  if (failed("Unable to write angle units.")) return;
  out << "  mass ";
  writeASFNumber(out, mass, 0, 2);
  endLine(out);
  if (failed("Unable to write mass conversion factor.")) return;
  // The length line ends with the newline below, which also stands when no
  // documentation follows.
  out << "  length " << length;
  if (failed("Unable to write length conversion factor.")) return;
  out << '\n';
  if (!documentation.isNull()) endLine(out << ":documentation\n" << documentation);
  failed("Unable to write documentation section.");
}

void KaASFDOFGroup::printOn(std::ostream& out, int toDegrees) const {
  endLine(out << "  begin\n    name " << name);
  out << "    dof ";
  writeASFDofList(out, *this);
  endLine(out);
  if (hasNonGroupDOFs()) writeOwnLimits(out, *this, "    limits ", toDegrees);
  out << "  end\n";
}

void KaASFRoot::printOn(std::ostream& out, int toDegrees) const {
  out << ":root\n  axis ";
  writeASFAxisOrder(out, axis);
  endLine(out);
  out << "  order";
  if (!order.isEmpty()) {
    writeASFDofList(out, order);
    endLine(out);
  }
  out << "  position ";
  writeASFPoint(out, position);
  endLine(out);
  out << "  orientation ";
  writeASFAngles(out, orientation, toDegrees);
  endLine(out);
  if (theExceptObj.errorOccurred()) KtError("Unable to write root.");
}

// Writes the length multiplied back by the factor the reader divided it by.
static void writeBone(std::ostream& out, const KaASFBone& bone, int toDegrees, float lengthFactor) {
  out << "  begin\n";
  if (bone.id() > 0) endLine(out << "    id " << bone.id());
  endLine(out << "    name " << bone.name);
  out << "    direction ";
  writeASFPoint(out, bone.direction);
  endLine(out);
  out << "    length ";
  writeASFNumber(out, bone.length * lengthFactor, 0, 4);
  endLine(out);
  out << "    axis ";
  writeASFAngles(out, bone.axis, toDegrees);
  out << ' ';
  writeASFAxisOrder(out, bone.order);
  endLine(out);
  if (!bone.dofs.isEmpty()) {
    out << "    dof";
    writeASFDofList(out, bone.dofs);
    endLine(out);
    if (bone.dofs.hasNonGroupDOFs()) {
      out << "    limits";
      writeOwnLimits(out, bone.dofs, " ", toDegrees);
    }
  }
  out << "  end\n";
}

void KaASFBone::printOn(std::ostream& out, int toDegrees) const {
  writeBone(out, *this, toDegrees, 1.0f);
}

static void writeHierarchy(std::ostream& out, const KtList<KaASFBone*>& bones) {
  out << ":hierarchy\n  begin\n    root";
  // Children in list order, grouped by parent, without a search per bone.
  std::unordered_map<const KaASFBone*, std::vector<const KaASFBone*>> children;
  for (const KaASFBone* bone : bones) {
    if (bone->parent)
      children[bone->parent].push_back(bone);
    else
      out << ' ' << bone->name;
  }
  endLine(out);
  for (const KaASFBone* parent : bones) {
    auto found = children.find(parent);
    if (found == children.end()) continue;
    out << "    " << parent->name << ' ';
    for (const KaASFBone* child : found->second) out << child->name << ' ';
    endLine(out);
    children.erase(found);  // a bone listed twice writes its line once
  }
  out << "  end\n";
}

void KaASF::printOn(std::ostream& out) const {
  header.printOn(out);
  if (theExceptObj.errorOccurred()) {
    KtError("Unable to write header info.");
    return;
  }
  int toDegrees = header.angleInDegrees == 1 ? 1 : 0;
  if (!dofGroups.isEmpty()) {
    out << ":dofgroups\n";
    for (const KaASFDOFGroup* group : dofGroups) group->printOn(out, toDegrees);
  }
  root.printOn(out, toDegrees);
  if (theExceptObj.errorOccurred()) {
    KtError("Unable to write root.");
    return;
  }
  if (!bones.isEmpty()) {
    out << ":bonedata\n";
    for (const KaASFBone* bone : bones) {
      writeBone(out, *bone, toDegrees, header.length);
      if (theExceptObj.errorOccurred()) {
        KtError("Unable to write bone.");
        return;
      }
    }
  }
  writeHierarchy(out, bones);
  for (int i = 0; i < skins.count(); i++) endLine(out << ":skin " << skins[i]);
}

void KaASF::save(const char* path) const {
  if (!KtPathCheckWriteAccess(path)) return;
  KtCompOFStream out;
  out.open(path, std::ios::out);
  if (!out.good() || theExceptObj.errorOccurred()) {
    KtError("Unable to open '%s'.", path);
    return;
  }
  printOn(out);
  // The bones are written without a test of the stream, and a compressing
  // tool tells its failure only at close: the closed stream has the last
  // word on whether the file was written. A skeleton whose writing
  // recorded an error is given up, and the previous file stays.
  if (theExceptObj.errorOccurred())
    out.discard();
  else
    out.close();
  if (theExceptObj.errorOccurred() || out.fail()) KtError("Unable to write '%s'.", path);
}

void KaASF::printBoneListOn(std::ostream& out) const {
  out << "*** bone list ***\n";
  for (const KaASFBone* bone : bones) {
    if (bone->name.isNull()) continue;
    endLine(out << "  Bone: " << bone->name);
    endLine(out << "    id: " << bone->id());
    out << "    parent: ptr = " << static_cast<const void*>(bone->parent) << std::flush;
    if (bone->parent) out << " name = " << bone->parent->name << " id = " << bone->parent->id();
    endLine(out);
  }
  out << "*** end ***\n";
}
