#ifndef KR_JOINT_SCRIPT_READER_H
#define KR_JOINT_SCRIPT_READER_H

// Builds the joints of a joint script into the scene: "select -cl;",
// "select -r <joint>;", "joint -name <n> [-absolute] -position <x> <y> <z>
// -rotationOrder <abc> -dof "<axes>" -orientation <x> <y> <z>;" (lengths
// with "in", angles with "rad", a bare number only as 0), and the addAttr /
// setAttr lines of a joint's translateDegreesOfFreedom note, which change
// nothing. Blank lines and "//" comments are skipped. Any other line is
// refused with its number under a message naming the file.

#include <string>

#include "raro/KrScene.h"

bool KrReadJointScript(const std::string& text, const char* fileName, KrScene* scene);

#endif
