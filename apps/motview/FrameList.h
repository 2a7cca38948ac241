#ifndef FRAME_LIST_H
#define FRAME_LIST_H

// The scene frames a contact sheet shows: the "-frames" list as typed, the
// default spread over the take, and the check that every one of them is a
// frame of the take.

#include <vector>

// Whole numbers separated by commas ("1,60,120"), blanks allowed around
// each; false (with *frames untouched) for an empty list, an empty entry or
// anything that is not a whole number.
bool parseFrameList(const char* text, std::vector<long>* frames);

// `count` frames evenly spread from first to last, both included (every
// frame when the take is shorter), each the nearest frame to its even
// place, the earlier one on a tie.
std::vector<long> spreadFrames(long first, long last, int count);

// Records an error naming the first frame outside first..last; false then.
bool checkFramesInTake(const std::vector<long>& frames, long first, long last);

#endif
