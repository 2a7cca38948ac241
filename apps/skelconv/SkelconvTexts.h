#ifndef SKELCONV_TEXTS_H
#define SKELCONV_TEXTS_H

#include <iosfwd>

// The program's own fixed texts: its name and the pages printed on request
// (the version line, banner and copyright notice are the command-line
// layer's, ClProgramTexts).
extern const char* const theSkelconvName;

void printSkelconvUsage(std::ostream& out);
void printSkelconvManualPage(std::ostream& out);

#endif
