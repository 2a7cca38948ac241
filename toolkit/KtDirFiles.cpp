#include "toolkit/KtDirFiles.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolkit/KtSort.h"

namespace {

const int kGrowth = 50;

FileStats statsOf(const char* directory, const char* name) {
  FileStats stats = {0, 0};
  KtStr path(directory);
  path += "/";
  path += name;
  struct stat info;
  if (stat(path.text(), &info) == 0) {
    stats.modTime = info.st_mtime;
    stats.isDirectory = S_ISDIR(info.st_mode) ? 1 : 0;
  }
  return stats;
}

}  // namespace

KtArray<KtStr> KtDirFiles(const char* directory, int includeDirectories, int sortBy) {
  KtArray<KtStr> names;
  KtArray<FileStats> stats;
  bool needStats = includeDirectories <= 0 || sortBy == KtDirSortByTime;
  DIR* dir = directory ? opendir(directory) : nullptr;
  if (!dir) return names;
  int kept = 0;
  while (dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    FileStats entryStats = {0, 0};
    if (needStats) entryStats = statsOf(directory, entry->d_name);
    if (includeDirectories <= 0 && entryStats.isDirectory) continue;
    if (kept == names.count()) {
      names._resize(kept + kGrowth);
      stats._resize(kept + kGrowth);
    }
    names[kept] = entry->d_name;
    stats[kept] = entryStats;
    kept++;
  }
  closedir(dir);
  names._resize(kept);
  stats._resize(kept);

  switch (sortBy) {
    case KtDirSortNone:
      break;
    case KtDirSortByName:
      KtSort(&names);
      break;
    case KtDirSortByTime: {
      KtArray<long> times(kept);
      for (int i = 0; i < kept; i++) times[i] = static_cast<long>(stats[i].modTime);
      KtArraySort(&times, &names, KtSortDescending, 0, kept - 1);
      break;
    }
    default:
      std::fputs("Unknown sort by type.\n", stderr);
      std::abort();
  }
  return names;
}
