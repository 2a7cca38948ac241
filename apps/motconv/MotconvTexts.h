#ifndef MOTCONV_TEXTS_H
#define MOTCONV_TEXTS_H

#include <iosfwd>

// The program's fixed texts: name, version and the pages printed on request.
extern const char* const theMotconvName;
extern const char* const theMotconvVersion;

void printMotconvUsage(std::ostream& out);
void printMotconvManualPage(std::ostream& out);
void printMotconvCopyright(std::ostream& out);
// "--version": the name and the version on one line.
void printMotconvVersion(std::ostream& out);
// Ends with a flush: the banner comes before the long steps of the run.
void printMotconvVersionBanner(std::ostream& out);

#endif
