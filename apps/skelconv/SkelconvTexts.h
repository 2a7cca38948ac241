#ifndef SKELCONV_TEXTS_H
#define SKELCONV_TEXTS_H

#include <iosfwd>

// The fixed texts skelconv prints on standard output: usage, manual page,
// copyright notice, version line and version banner.
void printSkelconvUsage(std::ostream& out);
void printSkelconvManualPage(std::ostream& out);
void printSkelconvCopyright(std::ostream& out);
// "--version": the name and the version on one line.
void printSkelconvVersion(std::ostream& out);
// Ends with a flush: the banner comes before the long steps of the run.
void printSkelconvVersionBanner(std::ostream& out);

#endif
