#ifndef RC_SCRATCH_FOLDER_H
#define RC_SCRATCH_FOLDER_H

// A fresh folder under /tmp for the files one test writes, removed with
// everything in it when the object goes, and what the file tests ask of
// it: a file's contents and the names the folder holds. ScratchFolderTest
// is the fixture of tests that also read what they recorded.

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "toolkit/KtExcept.h"

namespace testtools {

class ScratchFolder {
 public:
  // The folder is /tmp/<stem> followed by six characters.
  explicit ScratchFolder(const std::string& stem = "rcscratch") {
    std::string name = "/tmp/" + stem + "XXXXXX";
    std::vector<char> pattern(name.begin(), name.end());
    pattern.push_back('\0');
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no scratch folder " << name;
    dir = pattern.data();
  }
  ~ScratchFolder() { std::system(("rm -rf '" + dir + "'").c_str()); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string path(const std::string& name) const { return dir + "/" + name; }
  void write(const std::string& name, const std::string& text, mode_t mode = 0644) const {
    std::ofstream(path(name)) << text;
    chmod(path(name).c_str(), mode);
  }
  static std::string contents(const std::string& p) {
    std::ifstream in(p);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  // The names in the folder, "." and ".." left out.
  std::set<std::string> names() const {
    std::set<std::string> out;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") out.insert(e->d_name);
    closedir(d);
    return out;
  }

  std::string dir;
};

// A test with a scratch folder of its own and the diagnostics holder empty
// at its start and at its end.
class ScratchFolderTest : public ::testing::Test, protected ScratchFolder {
 protected:
  ScratchFolderTest() { theExceptObj.clear(); }
  ~ScratchFolderTest() override { theExceptObj.clear(); }
};

}  // namespace testtools

#endif
