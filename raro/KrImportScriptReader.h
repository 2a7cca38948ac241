#ifndef KR_IMPORT_SCRIPT_READER_H
#define KR_IMPORT_SCRIPT_READER_H

// Reads an AMC import script against the scene its joint script built:
// the "defineVirtualDevice -channel" lines number the device axes, the
// "attachDeviceAttr" lines bind axes to joint attributes (translateX..Z,
// rotateX..Z inside the joint's -dof), "currentUnit -time" gives the scene
// rate, "readTake" the take's units and "currentTime -edit" /
// "playbackOptions -minTime" the first frame. The procedures' other lines
// are the fixed ones the converter writes; blank lines and "//" comments
// are skipped. Any other line is refused with its number under a message
// naming the file.

#include <string>

#include "raro/KrScene.h"

struct KrTake {
  int fps = 0;              // scene frames a second
  long firstFrame = 0;      // the take's first scene frame
  double angleScale = 1.0;  // radians per angle unit of the MOV
  bool degrees = true;
};

bool KrReadImportScript(const std::string& text, const char* fileName, KrScene* scene,
                        KrTake* take);

#endif
