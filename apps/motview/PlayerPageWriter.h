#ifndef PLAYER_PAGE_WRITER_H
#define PLAYER_PAGE_WRITER_H

#include <iosfwd>

#include "apps/motview/DrawingSources.h"
#include "apps/motview/TakePoses.h"

// Writes the page (HTML) that plays the take: one file with its style and
// script inline and a Content-Security-Policy that lets it load nothing,
// so that it opens from a disk on a machine without a network. It embeds
// the take's frames first, first + step, ... as the JSON element "take":
// {"fps", "first", "last", "step", "frames" (how many are embedded),
// "joints" (names), "parents" (-1 for none), "ground" (the take's lowest
// y), "box" (the lowest and highest x, y, z of the whole take), "p" (x, y,
// z of every joint of every embedded frame, in hundredths of an inch)}.
// The script draws the joints as <circle data-joint cx cy> in the SVG
// element "stage", in inches: front (x, -y) as on the contact sheet, side
// (-z, -y), top (x, z); the stage's data-frame and data-view say what is
// shown. It opens on the first frame in the front view, or on "#frame=N"
// (the nearest embedded frame at or before N).
void writePlayerPage(std::ostream& out, TakePoses& poses, int step, const DrawingSources& sources);

#endif
