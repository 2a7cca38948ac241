#ifndef KT_FILE_IDENTITY_H
#define KT_FILE_IDENTITY_H

// Which file a path names: symbolic links followed, two paths compared as
// files, character devices told apart.

#include <string>

// The path with the symbolic links of its last component followed (a link
// whose target is relative is taken relative to the link's directory). A
// dangling link gives the path it points to; a path that is no link comes
// back unchanged. Links nested deeper than 40 give the path as it stood.
std::string KtFileFollowLinks(const char* path);

// True when both paths name one file: by device and inode when both exist
// (so hard and symbolic links count), by absolute path with "." and ".."
// resolved and the links followed as far as they exist when neither does.
bool KtFileIsSameFile(const char* a, const char* b);

// True when the path names a character device (such as /dev/null), its
// links followed.
bool KtFileIsCharacterDevice(const char* path);

#endif
