#include "toolkit/KtPathCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtFilePath.h"

bool KtPathCheckReadAccess(const char* path) {
  if (!path) path = "";
  if (!KtFileExists(path)) {
    KtError("File does not exist.");
    if (KtIsSkelconvBuild())
      KtError("Unable to open \"%s\".", path);
    else
      KtError("Unable to read \"%s\".", path);
    return false;
  }
  if (!KtFileHaveReadAccess(path)) {
    KtError("Insufficient access to read file.  Check permissions.");
  } else if (KtFileIsDirectory(path)) {
    KtError("File is a directory.");
  } else {
    return true;
  }
  KtError("Unable to read \"%s\".", path);
  return false;
}

bool KtPathCheckWriteAccess(const char* path) {
  if (!path) path = "";
  bool failed = false;
  if (KtFileExists(path)) {
    if (KtFileIsDirectory(path)) {
      KtError("File is a directory.");
      failed = true;
    } else if (!KtFileHaveWriteAccess(path)) {
      KtError("Insufficient access to overwrite existing file.  Check permissions.");
      failed = true;
    }
  } else if (std::strchr(path, '/')) {
    KtStr dir = KtFileDirOfPath(path);
    if (dir.isEmpty()) dir = "/";
    if (!KtFileExists(dir)) {
      KtError("Parent directory \"%s\" does not exist.", dir.text());
      failed = true;
    } else if (!KtFileHaveWriteAccess(dir)) {
      KtError("Insufficient access to create file in \"%s\".  Check permissions.", dir.text());
      failed = true;
    }
  }
  if (!failed) return true;
  KtError("File \"%s\" is unwritable.", path);
  return false;
}
