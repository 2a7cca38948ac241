#ifndef CL_STANDARD_OUTPUT_H
#define CL_STANDARD_OUTPUT_H

// Standard output for a whole run, checked at its end, so that a manual
// page, a version line or a banner that could not be written (a full disk,
// /dev/full, a closed descriptor) fails the program as well-behaved Unix
// programs do, with the system's reason.

// Sends std::cout through a buffer that keeps the reason of a failed
// write. Called first in main.
void ClOpenStandardOutput();

// Flushes and closes standard output. Returns status when everything
// written to it reached it; otherwise prints an error paragraph, "Unable
// to write to standard output." over the system's reason, on standard
// error and returns 1. Nothing may be written to standard output
// afterwards.
int ClCloseStandardOutput(int status);

#endif
