// Writing AMC text: the header keywords, then every frame.

#include <ostream>

#include "acclaim/KaAMC.h"
#include "toolkit/KtCompStream.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtPathCheck.h"

std::ostream& KaAMCBone::printOn(std::ostream& out) const {
  out << (name ? name->text() : "") << " ";
  if (!out) {
    KtError("Unable to write name.");
    return out;
  }
  for (float v : values) {
    out << v << " ";
    if (!out) {
      KtError("Unable to write value.");
      return out;
    }
  }
  return out;
}

std::ostream& KaAMCField::printOn(std::ostream& out) const {
  out << number << "\n";
  for (const KaAMCBone& bone : bones) {
    bone.printOn(out);
    if (!out) {
      KtError("Unable to write bone information.");
      return out;
    }
    out << "\n";
  }
  return out;
}

std::ostream& KaAMC::printOn(std::ostream& out) const {
  out << ":FULLY-SPECIFIED\n";
  if (!out) {
    KtError("Unable to write mode.");
    return out;
  }
  out << (degrees ? ":DEGREES\n" : ":RADIANS\n");
  if (!out) {
    KtError("Unable to write degrees/radians.");
    return out;
  }
  for (const KaAMCField& field : fields) {
    field.printOn(out);
    if (!out) {
      KtError("Unable to write field.");
      return out;
    }
    if (field.bones.count() != fields[0].bones.count()) {
      KtError(
          "The number of bones in field %d differs from the number of bones in previous "
          "fields.",
          field.number);
      return out;
    }
  }
  return out;
}

void KaAMC::save(const char* path) const {
  if (!KtPathCheckWriteAccess(path)) return;
  KtCompOFStream out;
  out.open(path);
  if (!out || theExceptObj.errorOccurred()) {
    KtError("Unable to open '%s'.", path);
    return;
  }
  printOn(out);
  // A write that fails only when the buffer is flushed or the file closed
  // is a failure too; a motion whose writing recorded an error is given up,
  // and the previous file stays.
  if (theExceptObj.errorOccurred())
    out.discard();
  else
    out.close();
  if (!out || theExceptObj.errorOccurred()) KtError("Unable to write '%s'.", path);
}
