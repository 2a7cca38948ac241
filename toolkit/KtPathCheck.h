#ifndef KT_PATH_CHECK_H
#define KT_PATH_CHECK_H

// Access checks made before a file is opened, with the diagnostics a user
// sees. The plain existence and permission tests they are built from are
// the path utilities'.

#include "toolkit/KtFilePath.h"

// True when the file may be read / written. On false the reason and a line
// naming the file have been recorded with KtError.
bool KtPathCheckReadAccess(const char* path);
bool KtPathCheckWriteAccess(const char* path);

#endif
