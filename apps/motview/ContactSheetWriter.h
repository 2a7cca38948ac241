#ifndef CONTACT_SHEET_WRITER_H
#define CONTACT_SHEET_WRITER_H

#include <iosfwd>
#include <vector>

#include "apps/motview/DrawingSources.h"
#include "apps/motview/TakePoses.h"

// Writes the contact sheet (SVG) of the take's poses on `frames`, in that
// order, each a column: a front view (looking along -z, y up) over a side
// view (looking along -x, y up), the frame number and time under them.
// Every view has one scale, the sheet's, and a ground line at the lowest
// point of the whole take; each pose is centred on its first joint. A pose
// is <g data-frame="N">, a view <g data-view="front"|"side"> whose circles
// (data-joint, cx, cy) sit at the joints' projections in inches, hundredths
// kept: front (x, -y), side (-z, -y); the view group's transform places and
// scales them. The frames must be frames of the take.
void writeContactSheet(std::ostream& out, TakePoses& poses, const std::vector<long>& frames,
                       const DrawingSources& sources);

#endif
