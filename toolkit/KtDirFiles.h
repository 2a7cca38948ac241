#ifndef KT_DIR_FILES_H
#define KT_DIR_FILES_H

// Directory listing into an array of entry names (without the directory).

#include <ctime>

#include "toolkit/KtArray.h"
#include "toolkit/KtStr.h"

// One record per listed entry; both fields are zero when the entry's status
// was not looked up.
struct FileStats {
  time_t modTime;
  int isDirectory;
};

enum KtDirSortBy { KtDirSortNone = 0, KtDirSortByName = 1, KtDirSortByTime = 2 };

// Lists directory without "." and ".."; subdirectories are left out when
// includeDirectories is 0 or less. sortBy: 0 directory order, 1 by name,
// 2 newest first. An unreadable directory gives an empty array; any other
// sortBy is a programming error and aborts.
KtArray<KtStr> KtDirFiles(const char* directory, int includeDirectories, int sortBy);

#endif
