#include "apps/motview/MotviewRun.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "apps/common/ClConfirmOverwrite.h"
#include "apps/common/ClOutputsDistinct.h"
#include "apps/common/ClWriteOutputFile.h"
#include "apps/motview/ContactSheetWriter.h"
#include "apps/motview/FrameList.h"
#include "apps/motview/PlayerPageWriter.h"
#include "apps/motview/TakePoses.h"
#include "toolkit/KtChars.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtPathCheck.h"

namespace {

enum class Drawing { None, ContactSheet, Page };

// The sheet spreads this many frames over the take unless -frames names
// them.
constexpr int theDefaultSheetFrames = 8;

Drawing drawingOf(const char* path) {
  const char* dot = std::strrchr(path, '.');
  const char* slash = std::strrchr(path, '/');
  if (!dot || (slash && dot < slash)) return Drawing::None;
  if (KtEqualNoCase(dot, ".svg")) return Drawing::ContactSheet;
  if (KtEqualNoCase(dot, ".html")) return Drawing::Page;
  return Drawing::None;
}

bool readText(const char* path, std::string* text) {
  FILE* file = std::fopen(path, "rb");
  bool ok = file != nullptr;
  if (ok) {
    char chunk[1 << 16];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
      text->append(chunk, got);
    ok = !std::ferror(file);
    std::fclose(file);
  }
  if (!ok) {
    KtError("%s", std::strerror(errno ? errno : EIO));
    KtError("Unable to read \"%s\".", path);
  }
  return ok;
}

// "Reading file: <path> ...", the file read into the model by `read`,
// "done.".
template <class Reader>
bool readInput(const char* path, Reader read) {
  KtPathCheckReadAccess(path);
  if (KtCheckException()) return false;
  std::cout << "Reading file: " << path << " ..." << std::flush;
  std::string text;
  if (!readText(path, &text) || !read(text, path)) {
    KtCheckException();
    return false;
  }
  std::cout << "done.\n" << std::flush;
  return true;
}

bool readTake(const MotviewArguments& args, TakePoses* poses) {
  return readInput(args.jointPath,
                   [poses](const std::string& text, const char* path) {
                     return poses->readJointScript(text, path);
                   }) &&
         readInput(args.importPath,
                   [poses](const std::string& text, const char* path) {
                     return poses->readImportScript(text, path);
                   }) &&
         readInput(args.movPath, [poses](const std::string& text, const char* path) {
           return poses->readMov(text, path);
         });
}

}  // namespace

int runMotview(const MotviewArguments& args) {
  const Drawing drawing = drawingOf(args.outputPath);
  if (drawing == Drawing::None) {
    KtError(
        "The output file \"%s\" must end in .svg (a contact sheet) or .html (a page that "
        "plays the take).",
        args.outputPath);
    KtCheckException();
    return 1;
  }

  // The drawing must not take the place of a file it is drawn from.
  if (!ClCheckOutputsDistinct({args.jointPath, args.importPath, args.movPath}, {args.outputPath})) {
    KtCheckException();
    return 1;
  }

  TakePoses poses;
  if (!readTake(args, &poses)) return 1;

  std::vector<long> frames = args.frames;
  if (!args.framesGiven) {
    frames = spreadFrames(poses.firstFrame(), poses.lastFrame(), theDefaultSheetFrames);
  } else if (!checkFramesInTake(frames, poses.firstFrame(), poses.lastFrame())) {
    KtCheckException();
    return 1;
  }

  if (!args.common.force && !ClConfirmOverwrite(args.outputPath, "' exists.", std::cin, std::cout))
    return 0;

  const DrawingSources sources{args.jointPath, args.importPath, args.movPath};
  ClWriteOutputFile(
      args.outputPath,
      [&](std::ostream& out) {
        if (drawing == Drawing::ContactSheet)
          writeContactSheet(out, poses, frames, sources);
        else
          writePlayerPage(out, poses, args.step, sources);
      },
      std::cout);
  return KtCheckException() ? 1 : 0;
}
