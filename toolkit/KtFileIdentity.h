#ifndef KT_FILE_IDENTITY_H
#define KT_FILE_IDENTITY_H

// Which file a path names: symbolic links followed, two paths compared as
// files, and the check that keeps a program's outputs off its inputs.

#include <string>
#include <vector>

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

// An input as given on the command line and as the file it is read under
// (a missing walk.amc is read as walk.amc.gz); the two are the same for a
// file that exists under its own name.
struct KtInputPath {
  const char* path;
  const char* readAs;
};

// True when no output names one of the inputs (under either name) or
// another output. Otherwise records "The output file \"%s\" is the same
// file as the input file \"%s\"." (naming the file read) or "The output
// files \"%s\" and \"%s\" are the same file." (the first pair found,
// outputs in order) and returns false. An output that is a character
// device is not compared: writing it keeps nothing.
bool KtPathCheckOutputsDistinct(const std::vector<KtInputPath>& inputs,
                                const std::vector<const char*>& outputs);
// The same for inputs read under their own names.
bool KtPathCheckOutputsDistinct(const std::vector<const char*>& inputs,
                                const std::vector<const char*>& outputs);

#endif
