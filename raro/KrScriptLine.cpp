#include "raro/KrScriptLine.h"

#include <cerrno>
#include <cstdlib>

#include "toolkit/KtChars.h"

KrScriptLine KrSplitScriptLine(const std::string& line) {
  KrScriptLine result;
  size_t i = 0;
  while (i < line.size() && KtIsSpace(line[i])) ++i;
  if (line.compare(i, 2, "//") == 0) return result;
  while (i < line.size()) {
    size_t end = i;
    while (end < line.size() && !KtIsSpace(line[end])) ++end;
    result.words.push_back(line.substr(i, end - i));
    i = end;
    while (i < line.size() && KtIsSpace(line[i])) ++i;
  }
  if (!result.words.empty() && result.words.back().back() == ';') {
    result.terminated = true;
    result.words.back().pop_back();
    if (result.words.back().empty()) result.words.pop_back();
  }
  return result;
}

bool KrUnquote(const std::string& w, std::string* text) {
  if (w.size() < 2 || w.front() != '"' || w.back() != '"') return false;
  *text = w.substr(1, w.size() - 2);
  return true;
}

bool KrReadInteger(const std::string& w, long* value) {
  if (w.empty()) return false;
  size_t i = (w[0] == '-' || w[0] == '+') ? 1 : 0;
  if (i == w.size()) return false;
  for (size_t k = i; k < w.size(); ++k)
    if (w[k] < '0' || w[k] > '9') return false;
  errno = 0;
  *value = std::strtol(w.c_str(), nullptr, 10);
  return errno == 0;
}
