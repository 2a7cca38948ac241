#ifndef KT_FILE_PATH_H
#define KT_FILE_PATH_H

// Path routines and the plain existence, type and permission tests of a
// path. Paths use "/" as the only separator.

#include "toolkit/KtStr.h"

// The directory part: "a/b/" gives "a", "/x" and "x" give "".
KtStr KtFileDirOfPath(const char* path);
// The part after the last "/".
KtStr KtFileNameOfPath(const char* path);
// Directory, base name and extension (without the dot); outputs may be null.
void KtFileSplit(const char* path, KtStr* dir, KtStr* base, KtStr* ext);
// Creates the directory and any missing parents; true when it exists after.
bool KtFileCreateDirectories(const KtStr& dir);
// The name under which the file exists: path, path.gz or path.Z (else path).
KtStr KtFileCompressedName(const char* path);
// The name without a ".gz" / ".Z" suffix; the suffix removed goes to suffix.
KtStr KtFileNonCompressedName(const char* path, KtStr* suffix);

// A path with a remembered modification time.
class KtPath {
 public:
  KtPath() = default;
  KtPath(const char* path) : _path(path) {}

  const KtStr& path() const { return _path; }
  long modTime() const { return _modTime; }

  bool exists(int alsoCompressed) const;
  long getModTime(int alsoCompressed);

 private:
  KtStr _path;
  long _modTime = 0;
};

// Existence, type and permission tests, without diagnostics.
bool KtFileExists(const char* path);
bool KtFileIsDirectory(const char* path);
bool KtFileHaveReadAccess(const char* path);
bool KtFileHaveWriteAccess(const char* path);
bool KtFileHaveExecuteAccess(const char* path);
bool KtFileCanExecute(const char* path);
// The modification time from stat, or 0 when stat fails.
long KtFileModTime(const char* path);

#endif
