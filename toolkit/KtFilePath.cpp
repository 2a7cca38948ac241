#include "toolkit/KtFilePath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace {

KtStr toKtStr(const std::string& s) {
  return KtStr(s.c_str(), static_cast<int>(s.size()));
}

bool endsWith(const std::string& s, const char* tail) {
  std::string t(tail);
  return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

}  // namespace

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

KtStr KtFileDirOfPath(const char* path) {
  if (!path || !*path) return KtStr("");
  std::string p(path);
  if (p == "/") return KtStr("");
  if (p.back() == '/') p.pop_back();
  std::string::size_type slash = p.rfind('/');
  if (slash == std::string::npos) return KtStr("");
  return toKtStr(p.substr(0, slash));
}

KtStr KtFileNameOfPath(const char* path) {
  if (!path) return KtStr("");
  KtStr trimmed(path);
  trimmed.trimLeft().trimRight();
  if (trimmed.isEmpty()) return KtStr("");
  int slash;
  if (trimmed.findLast('/', &slash)) return trimmed.notLeft(slash + 1);
  return KtStr(path);
}

void KtFileSplit(const char* path, KtStr* dir, KtStr* base, KtStr* ext) {
  if (dir) *dir = "";
  if (base) *base = "";
  if (ext) *ext = "";
  KtStr dirPart = KtFileDirOfPath(path);
  if (dir) *dir = dirPart;
  std::string rest(path ? path : "");
  if (!dirPart.isEmpty()) {
    std::string::size_type at = rest.find(dirPart.text());
    if (at != std::string::npos) rest.erase(at, dirPart.length());
    if (!rest.empty() && rest[0] == '/') rest.erase(0, 1);
  }
  std::string::size_type dot = rest.rfind('.');
  if (dot != std::string::npos) {
    if (base) *base = toKtStr(rest.substr(0, dot));
    if (ext) *ext = toKtStr(rest.substr(dot + 1));
  } else if (!rest.empty() && base) {
    *base = toKtStr(rest);
  }
}

bool KtFileCreateDirectories(const KtStr& dir) {
  if (dir.isEmpty()) return false;
  if (KtFileExists(dir)) return KtFileIsDirectory(dir);
  KtStr parent = KtFileDirOfPath(dir);
  if (!parent.isEmpty() && !KtFileCreateDirectories(parent)) return false;
  // Created directly, so that no character of the name is interpreted.
  mkdir(dir.text(), 0777);
  return KtFileExists(dir);
}

// The one place that says where a file may stand compressed: path itself
// first, then path.gz, then path.Z.
KtStr KtFileCompressedName(const char* path) {
  if (!path) return KtStr("");
  if (KtFileExists(path)) return KtStr(path);
  for (const char* suffix : {".gz", ".Z"}) {
    std::string candidate = std::string(path) + suffix;
    if (KtFileExists(candidate.c_str())) return toKtStr(candidate);
  }
  return KtStr(path);
}

KtStr KtFileNonCompressedName(const char* path, KtStr* suffix) {
  if (suffix) *suffix = "";
  if (!path) return KtStr("");
  std::string p(path);
  if (p.size() < 3) return KtStr(path);
  if (endsWith(p, ".gz")) {
    if (suffix) *suffix = ".gz";
    return toKtStr(p.substr(0, p.size() - 3));
  }
  if (endsWith(p, ".Z")) {
    if (suffix) *suffix = ".Z";
    return toKtStr(p.substr(0, p.size() - 2));
  }
  return KtStr(path);
}

bool KtPath::exists(int alsoCompressed) const {
  return KtFileExists(alsoCompressed ? KtFileCompressedName(_path) : _path);
}

long KtPath::getModTime(int alsoCompressed) {
  _modTime = KtFileModTime(alsoCompressed ? KtFileCompressedName(_path) : _path);
  return _modTime;
}
