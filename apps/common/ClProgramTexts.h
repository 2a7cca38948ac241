#ifndef CL_PROGRAM_TEXTS_H
#define CL_PROGRAM_TEXTS_H

// The texts every program prints alike, made from its name and the
// project's version (RcVersion.h): the version line, the banner a run
// begins with, the copyright notice and the availability and credits that
// close a manual page. A program's own pages (usage, manual page) stay with the program.

#include <iosfwd>

// "--version": the name and the version on one line.
void ClPrintVersionLine(std::ostream& out, const char* programName);
// "<name> version <version>" and the copyright line, each after a blank
// line. Ends with a flush: the banner comes before the long steps of a run.
void ClPrintVersionBanner(std::ostream& out, const char* programName);
// "-copyright": the "COPYRIGHT NOTICE" page.
void ClPrintCopyrightNotice(std::ostream& out);
// The "AVAILABILITY" section, before the credits: where the program comes
// from and what a problem report brings along with the command line,
// `inputs` ("input file" for a program that reads one, "input files").
void ClPrintAvailability(std::ostream& out, const char* inputs);
// The "CREDITS" section, the last of every manual page.
void ClPrintCredits(std::ostream& out);

// Every line of a list that ends with a null, each followed by "\n": a
// page kept as the lines it prints.
void ClPrintLines(std::ostream& out, const char* const* lines);

#endif
