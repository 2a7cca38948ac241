#ifndef MOTCONV_TEXTS_H
#define MOTCONV_TEXTS_H

#include <iosfwd>

// The program's own fixed texts: name, version and the pages printed on
// request (the version line, banner and copyright notice are the
// command-line layer's, ClProgramTexts).
extern const char* const theMotconvName;
extern const char* const theMotconvVersion;

void printMotconvUsage(std::ostream& out);
void printMotconvManualPage(std::ostream& out);

#endif
