#include "toolkit/KtFileIdentity.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#if defined(__linux__)
#include <linux/fs.h>
#endif

#include "toolkit/KtChars.h"

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

// The entry a path that does not exist would be made as: the directory
// that would hold it and the name in it.
struct NewEntry {
  bool known = false;  // false where the directory does not exist
  dev_t device = 0;
  ino_t inode = 0;
  std::string directory;
  std::string name;
};

NewEntry newEntryOf(const char* path) {
  NewEntry entry;
  std::string followed = KtFileFollowLinks(path);
  std::string prefix = directoryPrefix(followed);
  entry.name = followed.substr(prefix.size());
  entry.directory = prefix.empty() ? "." : prefix;
  if (entry.name.empty() || entry.name == "." || entry.name == "..") return entry;
  struct stat info;
  if (::stat(entry.directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return entry;
  entry.known = true;
  entry.device = info.st_dev;
  entry.inode = info.st_ino;
  return entry;
}

bool isAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The name with the case of each ASCII letter turned over; the name itself
// when it holds no letter.
std::string caseTurned(const std::string& name) {
  std::string turned = name;
  for (char& c : turned)
    if (isAsciiLetter(c)) c = (char)(c ^ 0x20);
  return turned;
}

// Looks entries of the directory up under their names with the case
// turned: the same file found means the directory folds case, nothing
// found (or another file) that it keeps it. A huge directory is not read
// to its end: the first entries with a letter decide.
KtCaseFolding probeEntries(const std::string& dir) {
  constexpr int kEntriesLookedAt = 64;
  DIR* listing = ::opendir(dir.c_str());
  if (!listing) return KtCaseFolding::Unknown;
  KtCaseFolding found = KtCaseFolding::Unknown;
  int looked = 0;
  while (found == KtCaseFolding::Unknown && looked < kEntriesLookedAt) {
    const dirent* entry = ::readdir(listing);
    if (!entry) break;
    std::string name = entry->d_name;
    std::string turned = caseTurned(name);
    if (turned == name) continue;
    ++looked;
    struct stat asListed, asTurned;
    if (::lstat((dir + "/" + name).c_str(), &asListed) != 0) continue;
    if (::lstat((dir + "/" + turned).c_str(), &asTurned) == 0)
      found = asListed.st_dev == asTurned.st_dev && asListed.st_ino == asTurned.st_ino
                  ? KtCaseFolding::Folds
                  : KtCaseFolding::Keeps;
    else if (errno == ENOENT)
      found = KtCaseFolding::Keeps;
  }
  ::closedir(listing);
  return found;
}

// A folder that the system marks as folding case (ext4, f2fs and tmpfs
// folders made with case folding).
bool markedAsFolding(const std::string& dir) {
#if defined(FS_IOC_GETFLAGS) && defined(FS_CASEFOLD_FL)
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  int flags = 0;
  bool folds = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_CASEFOLD_FL) != 0;
  ::close(fd);
  return folds;
#else
  (void)dir;
  return false;
#endif
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

KtCaseFolding KtDirectoryCaseFolding(const char* dir) {
#ifdef _PC_CASE_SENSITIVE
  errno = 0;
  long sensitive = ::pathconf(dir, _PC_CASE_SENSITIVE);
  if (sensitive == 0) return KtCaseFolding::Folds;
  if (sensitive > 0) return KtCaseFolding::Keeps;
#endif
  if (markedAsFolding(dir)) return KtCaseFolding::Folds;
  return probeEntries(dir);
}

bool KtFileIsSameFile(const char* a, const char* b) {
  struct stat infoA, infoB;
  bool aExists = ::stat(a, &infoA) == 0;
  bool bExists = ::stat(b, &infoB) == 0;
  if (aExists && bExists) return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
  if (aExists || bExists) return false;
  NewEntry entryA = newEntryOf(a), entryB = newEntryOf(b);
  if (!entryA.known || !entryB.known) return normalisedPath(a) == normalisedPath(b);
  if (entryA.device != entryB.device || entryA.inode != entryB.inode) return false;
  if (entryA.name == entryB.name) return true;
  return KtEqualNoCase(entryA.name.c_str(), entryB.name.c_str()) &&
         KtDirectoryCaseFolding(entryA.directory.c_str()) == KtCaseFolding::Folds;
}

bool KtFileIsCharacterDevice(const char* path) {
  struct stat info;
  return ::stat(path, &info) == 0 && S_ISCHR(info.st_mode);
}
