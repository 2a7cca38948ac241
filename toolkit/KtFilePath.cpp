#include "toolkit/KtFilePath.h"

#include <sys/stat.h>

#include <cctype>
#include <string>

#include "toolkit/KtPathCheck.h"

namespace {

KtStr toKtStr(const std::string& s) {
  return KtStr(s.c_str(), static_cast<int>(s.size()));
}

bool endsWith(const std::string& s, const char* tail) {
  std::string t(tail);
  return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

}  // namespace

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
  std::string p(path);
  std::string::size_type first = p.find_first_not_of(" \t\n\r\f\v");
  if (first == std::string::npos) return KtStr("");
  std::string::size_type last = p.find_last_not_of(" \t\n\r\f\v");
  std::string trimmed = p.substr(first, last - first + 1);
  std::string::size_type slash = trimmed.rfind('/');
  if (slash != std::string::npos) return toKtStr(trimmed.substr(slash + 1));
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

KtStr KtFileCompressedName(const char* path) {
  if (!path) return KtStr("");
  if (KtFileExists(path)) return KtStr(path);
  std::string p(path);
  if (KtFileExists((p + ".gz").c_str())) return toKtStr(p + ".gz");
  if (KtFileExists((p + ".Z").c_str())) return toKtStr(p + ".Z");
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
  if (KtFileExists(_path)) return true;
  if (!alsoCompressed) return false;
  std::string p(_path.text());
  return KtFileExists((p + ".gz").c_str()) || KtFileExists((p + ".Z").c_str());
}

long KtPath::getModTime(int alsoCompressed) {
  std::string p(_path.text());
  if (!KtFileExists(_path) && alsoCompressed) {
    if (KtFileExists((p + ".gz").c_str()))
      _modTime = KtFileModTime((p + ".gz").c_str());
    else if (KtFileExists((p + ".Z").c_str()))
      _modTime = KtFileModTime((p + ".Z").c_str());
    else
      _modTime = KtFileModTime(_path);
  } else {
    _modTime = KtFileModTime(_path);
  }
  return _modTime;
}
