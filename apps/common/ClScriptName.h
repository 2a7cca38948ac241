#ifndef CL_SCRIPT_NAME_H
#define CL_SCRIPT_NAME_H

// The rule for a name that may be written into a script the animation
// package executes: non-empty, only ASCII letters, digits and underscores,
// and beginning with a letter or an underscore. Anything else (a ';', a
// quote, a blank, a non-ASCII byte) could end a statement or a string in
// the script, so callers refuse such names before any output file is
// opened.
bool ClIsScriptName(const char* name);

#endif
