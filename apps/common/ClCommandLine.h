#ifndef CL_COMMAND_LINE_H
#define CL_COMMAND_LINE_H

// The shape every program's command line has: the options first, each
// beginning with "-" and matched without regard to case, among them the
// ones every program takes (-h and --help, -copyright, -f, --version);
// then the texts they ask for; then the banner and the file arguments. The
// program keeps its own options, the count of its file arguments and the
// messages about them.

#include <iosfwd>

// The options every program takes.
struct ClCommonOptions {
  bool manualPage = false;  // -h, --help
  bool copyright = false;   // -copyright
  bool force = false;       // -f: overwrite without asking
};

// What the shared steps need of a program: its name, as its texts give
// it, and its manual page.
struct ClProgram {
  const char* name;
  void (*printManualPage)(std::ostream& out);
};

// True when arg is option but for the case of the ASCII letters.
bool ClIsOption(const char* arg, const char* option);

// What ClTakeCommonOption made of an argument.
enum class ClCommonOption {
  Other,    // none of them: the program's own option, or an invalid one
  Taken,    // noted in the options
  Version,  // "--version": the version line is printed and the program
            // ends with status 0, looking at nothing after it
};

ClCommonOption ClTakeCommonOption(const ClProgram& program, const char* arg,
                                  ClCommonOptions* options, std::ostream& out);

// After the option loop: the manual page, then the copyright notice, as
// asked for, whatever the order of the options. When no file argument
// follows and a text was asked for, that is the whole run: false, and the
// program ends with status 0. Otherwise the banner follows and the result
// is true: the program goes on to its file arguments.
bool ClPrintRequestedTexts(const ClProgram& program, const ClCommonOptions& options,
                           bool filesFollow, std::ostream& out);

// Prints the error an option's rule recorded (a "-p" without its value,
// say) as the command line's one-paragraph message, "\nERROR: <message>\n\n"
// without wrapping, and clears the holder.
void ClPrintOptionError(std::ostream& err);

#endif
