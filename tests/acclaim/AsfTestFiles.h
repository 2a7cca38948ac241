#ifndef ASF_TEST_FILES_H
#define ASF_TEST_FILES_H

// Files, builds and diagnostics for the tests that read and write skeleton
// files: a scratch directory, a build selected for a scope, and the message
// chain taken out of the holder.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

namespace asftest {

using Chain = std::vector<std::string>;

// The chain of messages, newest first, with every occurrence of path shown
// as F, and the holder emptied.
inline Chain takeChain(const std::string& path = std::string()) {
  Chain out;
  for (KtExcept* e = theExceptObj.exception(); e; e = e->detail()) {
    std::string m = e->message().text();
    for (size_t at; !path.empty() && (at = m.find(path)) != std::string::npos;)
      m.replace(at, path.size(), "F");
    out.push_back(m);
  }
  theExceptObj.clear();
  return out;
}

// Selects a build for the lifetime of the object.
class BuildSwitch {
 public:
  explicit BuildSwitch(KtBuild build) : _saved(KtGetBuild()) { KtSetBuild(build); }
  ~BuildSwitch() { KtSetBuild(_saved); }

 private:
  KtBuild _saved;
};

// A fresh directory, removed with its contents.
class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/kaasftestXXXXXX";
    path = mkdtemp(pattern) ? pattern : "";
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string file(const std::string& name) const { return path + "/" + name; }
  std::string path;
};

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace asftest

#endif
