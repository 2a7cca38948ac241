#ifndef CL_CONFIRM_OVERWRITE_H
#define CL_CONFIRM_OVERWRITE_H

#include <iosfwd>

// The overwrite prompt every program runs before writing an output file.
// When nothing exists at `path` it answers true at once and prints nothing.
// Otherwise it writes "\n", "Output file '", the path, `existsEnding` and
// "\n" to `out` (skelconv and motconv differ only in that ending: "' exists.."
// or "' exists."), then asks "Overwrite? [Y/N] " and reads one non-blank
// character at a time from `in`: y/Y proceeds, n/N declines, anything else
// repeats the question. End of input is a refusal, so a closed standard
// input cannot make the prompt spin forever.
bool ClConfirmOverwrite(const char* path, const char* existsEnding, std::istream& in,
                        std::ostream& out);

#endif
