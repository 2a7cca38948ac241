#include "toolkit/KtFileIdentity.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <vector>

namespace {

// Everything up to and including the last "/", or "" for a bare name.
std::string directoryPrefix(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string absolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char cwd[PATH_MAX];
  if (!::getcwd(cwd, sizeof cwd)) return path;
  return std::string(cwd) + "/" + path;
}

// "." and empty components dropped, ".." taking back the one before it.
std::string lexicallyNormal(const std::string& absolute) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  while (start <= absolute.size()) {
    std::string::size_type end = absolute.find('/', start);
    if (end == std::string::npos) end = absolute.size();
    std::string part = absolute.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  return result.empty() ? "/" : result;
}

// The absolute path of a file that need not exist: its links followed, its
// directory resolved by the file system where that exists.
std::string normalisedPath(const char* path) {
  std::string followed = KtFileFollowLinks(absolutePath(path).c_str());
  std::string dir = directoryPrefix(followed);
  std::string name = followed.substr(dir.size());
  char resolved[PATH_MAX];
  if (!dir.empty() && ::realpath(dir.c_str(), resolved))
    return lexicallyNormal(std::string(resolved) + "/" + name);
  return lexicallyNormal(followed);
}

}  // namespace

std::string KtFileFollowLinks(const char* path) {
  std::string current = path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat info;
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    char target[PATH_MAX];
    ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
    if (length < 0) return current;
    target[length] = '\0';
    current = target[0] == '/' ? std::string(target) : directoryPrefix(current) + target;
  }
  return path;
}

bool KtFileIsSameFile(const char* a, const char* b) {
  struct stat infoA, infoB;
  bool aExists = ::stat(a, &infoA) == 0;
  bool bExists = ::stat(b, &infoB) == 0;
  if (aExists && bExists) return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
  if (aExists || bExists) return false;
  return normalisedPath(a) == normalisedPath(b);
}

bool KtFileIsCharacterDevice(const char* path) {
  struct stat info;
  return ::stat(path, &info) == 0 && S_ISCHR(info.st_mode);
}
