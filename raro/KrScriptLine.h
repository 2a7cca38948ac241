#ifndef KR_SCRIPT_LINE_H
#define KR_SCRIPT_LINE_H

// The words of one script line as the readers see them: split at white
// space, the closing ";" taken off the last word. A blank line and a line
// that starts with "//" have no words.

#include <string>
#include <vector>

struct KrScriptLine {
  std::vector<std::string> words;
  bool terminated = false;  // the line ended in ";"
};

KrScriptLine KrSplitScriptLine(const std::string& line);

// The text between the quotes of "text"; false when w is not quoted.
bool KrUnquote(const std::string& w, std::string* text);

// A whole decimal number (a sign and digits only).
bool KrReadInteger(const std::string& w, long* value);

#endif
