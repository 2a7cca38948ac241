#ifndef MEL_IMPORT_WRITER_H
#define MEL_IMPORT_WRITER_H

#include <iosfwd>

class KaAMC;
class KtStr;
class KaASF;
struct MotconvCaptureRate;

// Writes the import script: a virtual device with one channel per joint
// channel of the motion's first frame, the filter checks of filterList, and
// the procedure that reads the MOV take and applies it. fps is one of the
// accepted frame rates. The channels drive the joints <bone>_joint, or,
// with a joint-name prefix, <prefix>root and <prefix><bone> (the names the
// skeleton script makes). With a capture rate the current time and the
// playback start are the take's first scene frame. Records nothing.
void printMELScript(std::ostream& out, const KaASF& skeleton, const KaAMC& motion, int fps,
                    const KtStr* jointPrefix = nullptr,
                    const MotconvCaptureRate* capture = nullptr);

#endif
