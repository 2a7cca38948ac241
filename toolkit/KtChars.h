#ifndef KT_CHARS_H
#define KT_CHARS_H

// The character classes and case folding the library reads text with, once
// for every reader: white space as the C library classifies it in the "C"
// locale (blank, tab, newline, vertical tab, form feed, carriage return),
// and case folding of the ASCII letters only, so that no byte outside them
// (a UTF-8 sequence, say) ever changes or counts as a letter. Inline, without
// a library call, because the readers test every character they see.

#include <string>

// True for ' ', '\t', '\n', '\v', '\f' and '\r'; false for every other char
// or int, EOF included.
constexpr bool KtIsSpace(int c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// 'a' to 'z' become 'A' to 'Z'; every other character stays.
constexpr char KtToUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

// 'A' to 'Z' become 'a' to 'z'; every other character stays.
constexpr char KtToLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// True when a and b are equal but for the case of the ASCII letters (see
// KtToUpper): the one case fold of every comparison of names and keywords.
inline bool KtEqualNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    if (KtToUpper(*a) != KtToUpper(*b)) return false;
    if (*a == '\0') return true;
  }
}

// A lower-case copy of text (see KtToLower): the key under which names that
// are compared without regard to case are looked up.
inline std::string KtLowerCase(const char* text) {
  std::string folded(text ? text : "");
  for (char& c : folded) c = KtToLower(c);
  return folded;
}

#endif
