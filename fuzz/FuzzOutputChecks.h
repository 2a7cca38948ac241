#ifndef FUZZ_OUTPUT_CHECKS_H
#define FUZZ_OUTPUT_CHECKS_H

// Checks of what a conversion that succeeded wrote: a run that reports
// success with output the animation package cannot use is a finding too,
// not only a crash. A failed check prints what it found and the line on
// standard error and stops the process with a trap, which the fuzzer
// reports like a crash and saves the input for.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include "apps/common/ClScriptName.h"
#include "toolkit/KtChars.h"

[[noreturn]] inline void fuzzOutputFault(const char* what, const std::string& line) {
  std::fprintf(stderr, "\nFUZZ OUTPUT CHECK FAILED: %s\n  line: %s\n", what, line.c_str());
  std::fflush(stderr);
  __builtin_trap();
}

// True when a script word is a number printf wrote for nan or an infinity
// ("nan", "-nan", "inf", "-inf", each also with one of the script's units
// "in" and "rad"):
// a word that is one of the names the script writes (names, which hold only
// letters, digits and underscores, may be "inf") does not count.
inline bool fuzzIsNonFiniteWord(std::string word, const std::set<std::string>& names) {
  if (names.count(word)) return false;
  if (!word.empty() && (word[0] == '-' || word[0] == '+')) word.erase(0, 1);
  for (const std::string unit : {"in", "rad"})
    if (word.size() >= unit.size() + 3 &&
        word.compare(word.size() - unit.size(), unit.size(), unit) == 0)
      word.resize(word.size() - unit.size());
  for (char& c : word) c = KtToLower(c);
  return word == "nan" || word == "inf" || word == "infinity";
}

// The words of a script line: the text between blanks and the characters
// that end a MEL word ( ; " ( ) { } [ ] , = ).
inline void fuzzCheckScriptLineFinite(const std::string& line, const std::set<std::string>& names) {
  std::string word;
  for (size_t i = 0; i <= line.size(); ++i) {
    const char c = i < line.size() ? line[i] : ' ';
    if (c == ' ' || c == '\t' || c == ';' || c == '"' || c == '(' || c == ')' || c == '{' ||
        c == '}' || c == '[' || c == ']' || c == ',' || c == '=') {
      if (fuzzIsNonFiniteWord(word, names))
        fuzzOutputFault("a non-finite number in a script", line);
      word.clear();
    } else {
      word += c;
    }
  }
}

// The word of line that starts right after key and ends before any of the
// characters in ends (or at the line's end); false when line lacks key.
inline bool fuzzWordAfter(const std::string& line, const char* key, const char* ends,
                          std::string* word) {
  size_t at = line.find(key);
  if (at == std::string::npos) return false;
  at += std::string(key).size();
  size_t stop = line.find_first_of(ends, at);
  *word = line.substr(at, stop == std::string::npos ? std::string::npos : stop - at);
  return true;
}

inline void fuzzCheckScriptName(const std::string& name, const std::string& line) {
  if (!ClIsScriptName(name.c_str())) fuzzOutputFault("a script line names an unsafe joint", line);
}

// Every joint and channel name a script line gives: skelconv's "joint
// -name N", "select -r N;", "setAttr N.tdof" and "addAttr ... N;", the
// import script's "-channel N" and attachDeviceAttr's "C" "J.attribute".
inline void fuzzCheckScriptLineNames(const std::string& line) {
  std::string name;
  if (line.compare(0, 6, "joint ") == 0 && fuzzWordAfter(line, " -name ", " ;", &name))
    fuzzCheckScriptName(name, line);
  if (line.compare(0, 10, "select -r ") == 0 && fuzzWordAfter(line, "select -r ", ";", &name))
    fuzzCheckScriptName(name, line);
  if (line.compare(0, 8, "setAttr ") == 0 && fuzzWordAfter(line, "setAttr ", ". ", &name))
    fuzzCheckScriptName(name, line);
  if (line.compare(0, 8, "addAttr ") == 0) {
    size_t end = line.rfind(';');
    size_t start = line.rfind(' ', end);
    if (end != std::string::npos && start != std::string::npos)
      fuzzCheckScriptName(line.substr(start + 1, end - start - 1), line);
  }
  if (line.find("defineVirtualDevice -channel ") != std::string::npos &&
      fuzzWordAfter(line, "-channel ", " ;", &name))
    fuzzCheckScriptName(name, line);
  if (line.find("attachDeviceAttr ") != std::string::npos &&
      fuzzWordAfter(line, "-axis \"", "\"", &name)) {
    fuzzCheckScriptName(name, line);
    size_t last = line.rfind('"', line.rfind('"') - 1);
    std::string attribute;
    if (last != std::string::npos && fuzzWordAfter(line.substr(last), "\"", ".\"", &attribute))
      fuzzCheckScriptName(attribute, line);
  }
}

// Checks a whole script: finite numbers and safe names on every line.
inline void fuzzCheckScript(const std::string& text, const std::set<std::string>& names) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    fuzzCheckScriptLineFinite(line, names);
    fuzzCheckScriptLineNames(line);
  }
}

// The number of device channels the import script defines.
inline int fuzzScriptChannelCount(const std::string& script) {
  int count = 0;
  std::istringstream in(script);
  for (std::string line; std::getline(in, line);)
    if (line.find("defineVirtualDevice -channel ") != std::string::npos) ++count;
  return count;
}

// Checks a MOV table: every word of every line a finite number, and, when
// columns is not negative, columns numbers on every line (the time and the
// channels).
inline void fuzzCheckMov(const std::string& text, int columns) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    int count = 0;
    for (std::string word; words >> word; ++count) {
      char* end = nullptr;
      const double v = std::strtod(word.c_str(), &end);
      if (*end != '\0' || !std::isfinite(v))
        fuzzOutputFault("a MOV value that is no finite number", line);
    }
    if (columns >= 0 && count != columns)
      fuzzOutputFault("a MOV line with another number of columns than the script's channels", line);
  }
}

#endif
