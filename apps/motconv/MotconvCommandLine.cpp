#include "apps/motconv/MotconvCommandLine.h"

#include <strings.h>

#include <ostream>

#include "apps/motconv/MotconvFrameRates.h"
#include "apps/motconv/MotconvTexts.h"
#include "toolkit/KtJointPrefix.h"

KtStr filterList;

namespace {

constexpr int thePositionalCount = 5;

bool isOption(const char* arg, const char* option) {
  return strcasecmp(arg, option) == 0;
}

// "-capture <rate>": the next argument, a finite number above 0.
bool takeCaptureRate(int argc, const char* const* argv, int* i, MotconvCaptureRate* rate,
                     std::ostream& err) {
  if (*i + 1 >= argc) {
    err << "\nERROR: Expecting value for -capture option.\n\n";
    return false;
  }
  const char* text = argv[++*i];
  if (!motconvParseCaptureRate(text, rate)) {
    err << "\nERROR: Invalid value \"" << text
        << "\" for -capture option: the capture rate must be a finite number above 0.\n\n";
    return false;
  }
  return true;
}

// The fixed first line, then what was given and what Raro plays; a number
// above 0 may be the rate the take was captured at.
void printFrameRateError(std::ostream& err, const char* text) {
  err << "ERROR: Invalid value for fps.\n"
      << "       The frame rate \"" << text << "\" is not one of Raro's rates ";
  const int count = motconvFrameRateCount();
  for (int i = 0; i < count; ++i)
    err << (i == 0 ? "" : i + 1 == count ? " and " : ", ") << motconvFrameRateAt(i)->fps;
  err << ".\n";
  double value = 0;
  if (motconvIsRateNumber(text, &value))
    err << "       A take captured at " << text
        << " frames per second plays at its own speed with -capture " << text
        << " and one of those rates.\n";
}

// The option loop; returns false (with the status set) for a bad option
// and after "--version".
bool parseOptions(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                  MotconvArguments* args, int* next, int* exitStatus) {
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    const char* arg = argv[i];
    if (isOption(arg, "-h") || isOption(arg, "--help")) {
      args->manualPage = true;
    } else if (isOption(arg, "--version")) {
      // A text-only request met in the loop: nothing after it is looked at.
      printMotconvVersion(out);
      *exitStatus = 0;
      return false;
    } else if (isOption(arg, "-copyright")) {
      args->copyright = true;
    } else if (isOption(arg, "-f")) {
      args->force = true;
    } else if (isOption(arg, "-p")) {
      if (!KtTakeJointPrefixOption(argc, argv, &i, &args->jointPrefix, err)) {
        *exitStatus = 1;
        return false;
      }
      args->jointPrefixGiven = true;
    } else if (isOption(arg, "-capture")) {
      if (!takeCaptureRate(argc, argv, &i, &args->capture, err)) {
        *exitStatus = 1;
        return false;
      }
      args->captureGiven = true;
    } else if (isOption(arg, "-filter")) {
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
  if (args->manualPage) {
    printMotconvManualPage(out);
    if (remaining == 0 && !args->copyright) return false;
  }
  if (args->copyright) {
    printMotconvCopyright(out);
    if (remaining == 0) return false;
  }
  printMotconvVersionBanner(out);
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
