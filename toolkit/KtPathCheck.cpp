#include "toolkit/KtPathCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtFilePath.h"

bool KtFileExists(const char* path) {
  return path && *path && access(path, F_OK) == 0;
}

bool KtFileIsDirectory(const char* path) {
  struct stat info;
  if (!path || stat(path, &info) != 0) return false;
  return S_ISDIR(info.st_mode);
}

bool KtFileHaveReadAccess(const char* path) {
  return path && access(path, R_OK) == 0;
}

bool KtFileHaveWriteAccess(const char* path) {
  return path && access(path, W_OK) == 0;
}

bool KtFileHaveExecuteAccess(const char* path) {
  return path && access(path, X_OK) == 0;
}

bool KtFileCanExecute(const char* path) {
  struct stat info;
  if (!path || stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return access(path, X_OK) == 0;
}

long KtFileModTime(const char* path) {
  struct stat info;
  if (!path || stat(path, &info) != 0) return 0;
  return static_cast<long>(info.st_mtime);
}

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
