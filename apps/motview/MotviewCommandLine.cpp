#include "apps/motview/MotviewCommandLine.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ostream>

#include "apps/motview/FrameList.h"
#include "apps/motview/MotviewTexts.h"
#include "toolkit/KtExcept.h"

namespace {

constexpr int thePositionalCount = 4;

const ClProgram theProgram = {theMotviewName, printMotviewManualPage};

// The command line's faults are recorded like any other and printed at
// once, as the error paragraph, on `err`.
bool refuse(std::ostream& err) {
  KtPrintException(err, *theExceptObj.exception());
  theExceptObj.clear();
  return false;
}

// A whole number of at least 1, digits only.
bool parseStep(const char* text, int* step) {
  if (*text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (*end != '\0' || errno == ERANGE || value < 1 || value > INT_MAX) return false;
  *step = (int)value;
  return true;
}

// The value after an option; records the fault when there is none.
const char* takeValue(int argc, const char* const* argv, int* i, const char* option) {
  if (*i + 1 >= argc) {
    KtError("Expecting value for %s option.", option);
    return nullptr;
  }
  return argv[++*i];
}

bool takeFrames(int argc, const char* const* argv, int* i, MotviewArguments* args) {
  const char* text = takeValue(argc, argv, i, "-frames");
  if (!text) return false;
  if (!parseFrameList(text, &args->frames)) {
    KtError(
        "Invalid value \"%s\" for -frames option: expected scene frame numbers separated by "
        "commas, such as 1,60,120.",
        text);
    return false;
  }
  args->framesGiven = true;
  return true;
}

bool takeStep(int argc, const char* const* argv, int* i, MotviewArguments* args) {
  const char* text = takeValue(argc, argv, i, "-step");
  if (!text) return false;
  if (!parseStep(text, &args->step)) {
    KtError("Invalid value \"%s\" for -step option: the step must be a whole number of at least 1.",
            text);
    return false;
  }
  return true;
}

// The option loop; returns false (with the status set) for a bad option
// and after "--version".
bool parseOptions(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                  MotviewArguments* args, int* next, int* exitStatus) {
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    const char* arg = argv[i];
    const ClCommonOption common = ClTakeCommonOption(theProgram, arg, &args->common, out);
    if (common == ClCommonOption::Version) {
      *exitStatus = 0;
      return false;
    }
    if (common == ClCommonOption::Taken) continue;
    bool taken = false;
    if (ClIsOption(arg, "-frames")) {
      taken = takeFrames(argc, argv, &i, args);
    } else if (ClIsOption(arg, "-step")) {
      taken = takeStep(argc, argv, &i, args);
    } else {
      KtError("Invalid option %s", arg);
    }
    if (!taken) {
      *exitStatus = 1;
      return refuse(err);
    }
  }
  *next = i;
  return true;
}

}  // namespace

bool parseMotviewCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err, MotviewArguments* args, int* exitStatus) {
  *exitStatus = 0;
  if (argc <= 1) {
    printMotviewUsage(out);
    return false;
  }
  int next = 1;
  if (!parseOptions(argc, argv, out, err, args, &next, exitStatus)) return false;
  const int remaining = argc - next;
  if (!ClPrintRequestedTexts(theProgram, args->common, remaining > 0, out)) return false;
  if (remaining != thePositionalCount) {
    KtError("Invalid number of arguments.");
    *exitStatus = 1;
    return refuse(err);
  }
  const char* const* positional = argv + next;
  args->jointPath = positional[0];
  args->importPath = positional[1];
  args->movPath = positional[2];
  args->outputPath = positional[3];
  return true;
}
