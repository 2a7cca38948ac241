#ifndef RC_TEST_TOOLS_H
#define RC_TEST_TOOLS_H

// What the test programs need from the machine they run on: the external
// tools some tests start (gzip, gunzip, compress, uncompress), looked up on
// PATH so that a test can skip, saying why, where a tool is missing.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <initializer_list>
#include <string>

namespace testtools {

// True when a directory on PATH holds an executable file of that name.
// Empty entries are passed over, as the library's own search does.
inline bool toolOnPath(const char* tool) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string value(path);
  std::string::size_type start = 0;
  while (start < value.size()) {
    std::string::size_type end = value.find(':', start);
    if (end == std::string::npos) end = value.size();
    if (end > start) {
      std::string candidate = value.substr(start, end - start) + "/" + tool;
      struct stat info;
      if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
          access(candidate.c_str(), X_OK) == 0)
        return true;
    }
    start = end + 1;
  }
  return false;
}

// The first of the tools that is not on PATH, or "" when all are.
inline std::string missingTool(std::initializer_list<const char*> tools) {
  for (const char* tool : tools)
    if (!toolOnPath(tool)) return tool;
  return "";
}

}  // namespace testtools

// Skips the rest of the current test (written in its body or its SetUp)
// unless every tool named is on PATH.
#define RC_SKIP_WITHOUT_TOOLS(...)                                                    \
  do {                                                                                \
    const std::string rcMissingTool = testtools::missingTool({__VA_ARGS__});          \
    if (!rcMissingTool.empty())                                                       \
      GTEST_SKIP() << "'" << rcMissingTool << "' is not on PATH; this test needs it"; \
  } while (0)

#endif
