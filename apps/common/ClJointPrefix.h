#ifndef CL_JOINT_PREFIX_H
#define CL_JOINT_PREFIX_H

#include "toolkit/KtStr.h"

// The joint-name prefix that the programs take with "-p <prefix>": the
// skeleton script names its joints with it, and the import script names
// the joints it drives with it, so that the two meet in one scene. The
// rules record their refusals; the caller prints them.

// Takes the argument after the "-p" at argv[*i] as the prefix, whatever it
// begins with, removes all white space from it and steps *i to it. When no
// argument follows, records "Expecting value for -p option." and returns
// false.
bool ClTakeJointPrefixOption(int argc, const char* const* argv, int* i, KtStr* prefix);

// Checks the prefix on its own, before any joint name is made from it: it
// may be empty, may hold only ASCII letters, digits and underscores, and
// may not begin with a digit (every joint name would). Otherwise records
// "The prefix \"%s\" may hold only ASCII letters, digits and underscores."
// or "The prefix \"%s\" begins with a digit, but a joint name must begin
// with a letter or an underscore." and returns false.
bool ClCheckJointPrefix(const KtStr& prefix);

// The joint name of a bone (or of the root, named "root"): the prefix
// followed by the name, with nothing between.
KtStr ClJointName(const KtStr& prefix, const char* name);

// Records the refusal of a joint name that may not go into a script
// (`ClIsScriptName`), naming the bone and the joint name it gives.
void ClRecordUnsafeJointName(const KtStr& prefix, const char* name);

#endif
