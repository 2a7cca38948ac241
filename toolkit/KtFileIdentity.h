#ifndef KT_FILE_IDENTITY_H
#define KT_FILE_IDENTITY_H

// Which file a path names: symbolic links followed, two paths compared as
// files (also files that do not exist yet), character devices told apart.

#include <string>

// The path with the symbolic links of its last component followed (a link
// whose target is relative is taken relative to the link's directory). A
// dangling link gives the path it points to; a path that is no link comes
// back unchanged. Links nested deeper than 40 give the path as it stood.
std::string KtFileFollowLinks(const char* path);

// Whether names that differ only in the case of their letters name one
// file in a directory.
enum class KtCaseFolding {
  Folds,    // they do (a FAT volume, a network share, a case-folding folder)
  Keeps,    // they do not
  Unknown,  // nothing tells: an empty folder on a file system that says
            // nothing of itself
};

// What the system says of the directory (pathconf's _PC_CASE_SENSITIVE
// where there is one, the case-folding flag of the folder), else what an
// entry of it shows when it is looked up under its name with the case of
// its letters changed. Creates nothing.
KtCaseFolding KtDirectoryCaseFolding(const char* dir);

// True when both paths name one file: by device and inode when both exist
// (so hard and symbolic links count). When neither exists, a path names
// the entry its directory would hold, its links followed: the directory's
// device and inode (so a bind mount or a link to a folder counts) and the
// name, compared without regard to the case of ASCII letters where the
// directory folds case (KtDirectoryCaseFolding says Folds); where a
// directory does not exist either, by absolute path with "." and ".."
// resolved.
bool KtFileIsSameFile(const char* a, const char* b);

// True when the path names a character device (such as /dev/null), its
// links followed.
bool KtFileIsCharacterDevice(const char* path);

#endif
