#ifndef KT_PATH_CHECK_H
#define KT_PATH_CHECK_H

// Access checks made before a file is opened, and the plain existence and
// permission tests they are built from.

#include <ctime>

// True when the file may be read / written. On false the reason and a line
// naming the file have been recorded with KtError.
bool KtPathCheckReadAccess(const char* path);
bool KtPathCheckWriteAccess(const char* path);

// Tests without diagnostics.
bool KtFileExists(const char* path);
bool KtFileIsDirectory(const char* path);
bool KtFileHaveReadAccess(const char* path);
bool KtFileHaveWriteAccess(const char* path);
bool KtFileHaveExecuteAccess(const char* path);
bool KtFileCanExecute(const char* path);
// The modification time from stat, or 0 when stat fails.
long KtFileModTime(const char* path);

#endif
