#ifndef MARKUP_TEXT_H
#define MARKUP_TEXT_H

// Text from the command line or the input files (file and joint names) as
// it may stand in the drawings: escaped for XML and HTML text and
// attribute values, and as a JSON string that may sit inside an HTML
// script element.

#include <string>

// & < > " ' as entities; bytes that are not valid UTF-8, and control
// characters, which XML cannot hold at all, as "?".
void appendMarkupText(std::string* out, const std::string& text);

// A quoted JSON string; "<" is written \u003c, so that no "</script>" can
// end the element early, and control characters as \u00XX. Bytes that are
// not valid UTF-8 become "?".
void appendJsonString(std::string* out, const std::string& text);

#endif
