#ifndef MEL_JOINT_WRITER_H
#define MEL_JOINT_WRITER_H

#include <iosfwd>

#include "toolkit/KtStr.h"

class KaASF;

// Writes the MEL script that builds `asf` as Raro joints: the root, then
// every bone depth first (each joint before its children), and an end
// joint at the tip of every leaf bone that has a length. Every joint name
// starts with `prefix`. Records no error of its own.
void writeMelJointScript(std::ostream& out, const KaASF& asf, const KtStr& prefix);

// The name of the first bone (or "root") whose joint name, prefix + name,
// may not go into a script; null when every joint name is safe.
const char* findUnsafeJointName(const KaASF& asf, const KtStr& prefix);

#endif
