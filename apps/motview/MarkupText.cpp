#include "apps/motview/MarkupText.h"

#include <cstdio>

namespace {

// The length of the valid UTF-8 sequence at text[i], or 0.
size_t utf8Length(const std::string& text, size_t i) {
  const unsigned char c = (unsigned char)text[i];
  size_t length = c < 0x80           ? 1
                  : (c >> 5) == 0x6  ? 2
                  : (c >> 4) == 0xe  ? 3
                  : (c >> 3) == 0x1e ? 4
                                     : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k)
    if (((unsigned char)text[i + k] >> 6) != 0x2) return 0;
  // Overlong two-byte forms.
  if (length == 2 && c < 0xc2) return 0;
  return length;
}

// Hands each ASCII character to `ascii` and copies each multi-byte UTF-8
// character as it is; a byte that is not valid UTF-8 comes out as "?".
template <class Ascii>
void eachCharacter(std::string* out, const std::string& text, Ascii ascii) {
  for (size_t i = 0; i < text.size();) {
    const size_t length = utf8Length(text, i);
    if (length == 0) {
      out->push_back('?');
      ++i;
    } else if (length == 1) {
      ascii(text[i]);
      ++i;
    } else {
      out->append(text, i, length);
      i += length;
    }
  }
}

}  // namespace

void appendMarkupText(std::string* out, const std::string& text) {
  eachCharacter(out, text, [out](char c) {
    switch (c) {
      case '&':
        *out += "&amp;";
        break;
      case '<':
        *out += "&lt;";
        break;
      case '>':
        *out += "&gt;";
        break;
      case '"':
        *out += "&quot;";
        break;
      case '\'':
        *out += "&#39;";
        break;
      default:
        out->push_back((unsigned char)c < 0x20 || c == 0x7f ? '?' : c);
    }
  });
}

void appendJsonString(std::string* out, const std::string& text) {
  out->push_back('"');
  eachCharacter(out, text, [out](char c) {
    if (c == '"' || c == '\\') {
      out->push_back('\\');
      out->push_back(c);
    } else if ((unsigned char)c < 0x20 || c == '<' || c == 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", (unsigned)(unsigned char)c);
      *out += escaped;
    } else {
      out->push_back(c);
    }
  });
  out->push_back('"');
}
