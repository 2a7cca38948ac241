#ifndef MOTVIEW_TEXTS_H
#define MOTVIEW_TEXTS_H

#include <iosfwd>

// The program's fixed texts: name, version and the pages printed on request.
extern const char* const theMotviewName;
extern const char* const theMotviewVersion;

void printMotviewUsage(std::ostream& out);
void printMotviewManualPage(std::ostream& out);
void printMotviewCopyright(std::ostream& out);
// "--version": the name and the version on one line.
void printMotviewVersion(std::ostream& out);
// Ends with a flush: the banner comes before the long steps of the run.
void printMotviewVersionBanner(std::ostream& out);

#endif
