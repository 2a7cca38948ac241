#ifndef MOTVIEW_TEXTS_H
#define MOTVIEW_TEXTS_H

#include <iosfwd>

// The program's own fixed texts: name, version and the pages printed on
// request (the version line, banner and copyright notice are the
// command-line layer's, ClProgramTexts).
extern const char* const theMotviewName;
extern const char* const theMotviewVersion;

void printMotviewUsage(std::ostream& out);
void printMotviewManualPage(std::ostream& out);

#endif
