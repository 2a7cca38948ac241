#include "apps/motconv/MotconvCommandLine.h"

#include <cstring>
#include <ostream>
#include <string>

#include "apps/common/ClJointPrefix.h"
#include "apps/motconv/MotconvFrameRates.h"
#include "apps/motconv/MotconvTexts.h"
#include "toolkit/KtExcept.h"

KtStr filterList;

std::vector<KtStr> motconvFilterNames() {
  std::vector<KtStr> names;
  KtStr rest = filterList;
  for (KtStr name = rest.extractFirstToken(" \t\n\r"); !name.isNull();
       name = rest.extractFirstToken(" \t\n\r"))
    names.push_back(name);
  return names;
}

namespace {

constexpr int thePositionalCount = 5;

const ClProgram theProgram = {theMotconvName, printMotconvManualPage};

// "-capture <rate>": the next argument, a finite number above 0. A refusal
// is recorded for the caller to print, with the argument whole: a long one
// would be cut by KtError's formatting buffer.
bool takeCaptureRate(int argc, const char* const* argv, int* i, MotconvCaptureRate* rate) {
  if (*i + 1 >= argc) {
    KtError("Expecting value for -capture option.");
    return false;
  }
  const char* text = argv[++*i];
  if (!motconvParseCaptureRate(text, rate)) {
    theExceptObj.recordError(
        KtStr("Invalid value \"") + text +
        "\" for -capture option: the capture rate must be a finite number above 0.");
    return false;
  }
  return true;
}

// A reason line under the fixed first line, wrapped at 70 columns and
// indented like the reasons of an error paragraph.
void printReason(std::ostream& err, const std::string& reason) {
  const KtStr wrapped = KtWrapString(KtStr(reason.c_str()), 70, 8);
  const char* line = wrapped.text();
  while (*line) {
    const char* end = std::strchr(line, '\n');
    const size_t length = end ? (size_t)(end - line) : std::strlen(line);
    err << "       ";
    err.write(line, (std::streamsize)length);
    err << '\n';
    line += length + (end ? 1 : 0);
  }
}

// The fixed first line, then what was given and what Raro plays; a number
// above 0 may be the rate the take was captured at.
void printFrameRateError(std::ostream& err, const char* text) {
  err << "ERROR: Invalid value for fps.\n";
  std::string given = std::string("The frame rate \"") + text + "\" is not one of Raro's rates ";
  const int count = motconvFrameRateCount();
  for (int i = 0; i < count; ++i)
    given += (i == 0           ? ""
              : i + 1 == count ? " and "
                               : ", ") +
             std::to_string(motconvFrameRateAt(i)->fps);
  printReason(err, given + ".");
  double value = 0;
  if (motconvIsRateNumber(text, &value))
    printReason(err, std::string("A take captured at ") + text +
                         " frames per second plays at its own speed with -capture " + text +
                         " and one of those rates.");
}

// The option loop; returns false (with the status set) for a bad option
// and after "--version".
bool parseOptions(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                  MotconvArguments* args, int* next, int* exitStatus) {
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    const char* arg = argv[i];
    const ClCommonOption common = ClTakeCommonOption(theProgram, arg, &args->common, out);
    if (common == ClCommonOption::Version) {
      *exitStatus = 0;
      return false;
    }
    if (common == ClCommonOption::Taken) continue;
    if (ClIsOption(arg, "-p")) {
      if (!ClTakeJointPrefixOption(argc, argv, &i, &args->jointPrefix)) {
        ClPrintOptionError(err);
        *exitStatus = 1;
        return false;
      }
      args->jointPrefixGiven = true;
    } else if (ClIsOption(arg, "-capture")) {
      if (!takeCaptureRate(argc, argv, &i, &args->capture)) {
        ClPrintOptionError(err);
        *exitStatus = 1;
        return false;
      }
      args->captureGiven = true;
    } else if (ClIsOption(arg, "-filter")) {
      if (++i >= argc) {
        err << "\nERROR: Expecting filter names.\n";
        *exitStatus = 1;
        return false;
      }
      filterList = argv[i];
    } else {
      err << "\nERROR: Invalid option " << arg << "\n";
      *exitStatus = 1;
      return false;
    }
  }
  *next = i;
  return true;
}

bool parseFrameRate(const char* text, int* fps) {
  return KtStr(text).intValue(fps) && motconvFindFrameRate(*fps) != nullptr;
}

}  // namespace

bool parseMotconvCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err, MotconvArguments* args, int* exitStatus) {
  *exitStatus = 0;
  if (argc <= 1) {
    printMotconvUsage(out);
    return false;
  }
  int next = 1;
  if (!parseOptions(argc, argv, out, err, args, &next, exitStatus)) return false;
  const int remaining = argc - next;
  if (!ClPrintRequestedTexts(theProgram, args->common, remaining > 0, out)) return false;
  if (remaining != thePositionalCount) {
    err << "ERROR: Invalid number of arguments.\n";
    *exitStatus = 1;
    return false;
  }
  const char* const* positional = argv + next;
  if (!parseFrameRate(positional[2], &args->fps)) {
    printFrameRateError(err, positional[2]);
    *exitStatus = 1;
    return false;
  }
  args->asfPath = positional[0];
  args->amcPath = positional[1];
  args->melPath = positional[3];
  args->movPath = positional[4];
  return true;
}
