#ifndef MOTVIEW_TEST_XML_DOCUMENT_H
#define MOTVIEW_TEST_XML_DOCUMENT_H

// A strict reader of XML documents for the drawings' tests: the contact
// sheet as written and the page's stage as the browser serialises it. It
// refuses what is not well-formed (tags that do not nest, unquoted or
// repeated attributes, an unknown entity, a bare "<" or "&", text after
// the root element) and keeps elements, attributes and text.

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace motviewtest {

struct XmlElement {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<XmlElement> children;
  std::string text;  // the text directly inside, entities decoded

  const std::string* attribute(const std::string& key) const {
    for (const auto& a : attributes)
      if (a.first == key) return &a.second;
    return nullptr;
  }
  std::string get(const std::string& key) const {
    const std::string* value = attribute(key);
    return value ? *value : std::string();
  }
  // Every element of that name below this one, in document order.
  void collect(const std::string& tag, std::vector<const XmlElement*>* out) const {
    for (const XmlElement& child : children) {
      if (child.name == tag) out->push_back(&child);
      child.collect(tag, out);
    }
  }
};

class XmlReader {
 public:
  explicit XmlReader(const std::string& text) : _s(text) {}

  bool read(XmlElement* root, std::string* fault) {
    skipMisc();
    if (_s.compare(_p, 5, "<?xml") == 0) {
      const size_t end = _s.find("?>", _p);
      if (end == std::string::npos) return failAt("an unfinished prolog", fault);
      _p = end + 2;
    }
    skipMisc();
    if (!element(root)) return failAt(_fault, fault);
    skipMisc();
    if (_p != _s.size()) return failAt("text after the root element", fault);
    return true;
  }

 private:
  bool failAt(const std::string& what, std::string* fault) {
    *fault = what + " at byte " + std::to_string(_p);
    return false;
  }
  bool fail(const std::string& what) {
    _fault = what;
    return false;
  }
  static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
  static bool isNameChar(char c, bool first) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' ||
           (!first && ((c >= '0' && c <= '9') || c == '-' || c == '.'));
  }
  void skipSpace() {
    while (_p < _s.size() && isSpace(_s[_p])) ++_p;
  }
  // Blanks and comments between the document's parts.
  void skipMisc() {
    for (;;) {
      skipSpace();
      if (_s.compare(_p, 4, "<!--") != 0) return;
      const size_t end = _s.find("-->", _p + 4);
      _p = end == std::string::npos ? _s.size() : end + 3;
    }
  }
  bool name(std::string* out) {
    const size_t start = _p;
    if (_p >= _s.size() || !isNameChar(_s[_p], true)) return fail("a name expected");
    while (_p < _s.size() && isNameChar(_s[_p], false)) ++_p;
    *out = _s.substr(start, _p - start);
    return true;
  }
  // Text up to `stop`, entities decoded; a "<" in it is a fault.
  bool characters(char stop, std::string* out) {
    while (_p < _s.size() && _s[_p] != stop) {
      const char c = _s[_p];
      if (c == '<') return fail("a bare \"<\"");
      if (c != '&') {
        out->push_back(c);
        ++_p;
        continue;
      }
      const size_t end = _s.find(';', _p);
      if (end == std::string::npos) return fail("a bare \"&\"");
      const std::string entity = _s.substr(_p + 1, end - _p - 1);
      if (entity == "amp")
        *out += '&';
      else if (entity == "lt")
        *out += '<';
      else if (entity == "gt")
        *out += '>';
      else if (entity == "quot")
        *out += '"';
      else if (entity == "apos")
        *out += '\'';
      else if (entity.size() > 1 && entity[0] == '#') {
        const bool hex = entity[1] == 'x';
        const long code = std::strtol(entity.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10);
        if (code <= 0 || code > 0x7f) return fail("a character reference this reader keeps out");
        *out += (char)code;
      } else {
        return fail("the unknown entity &" + entity + ";");
      }
      _p = end + 1;
    }
    return true;
  }
  bool element(XmlElement* e) {
    if (_p >= _s.size() || _s[_p] != '<') return fail("an element expected");
    ++_p;
    if (!name(&e->name)) return false;
    for (;;) {
      const size_t before = _p;
      skipSpace();
      if (_s.compare(_p, 2, "/>") == 0) {
        _p += 2;
        return true;
      }
      if (_p < _s.size() && _s[_p] == '>') {
        ++_p;
        break;
      }
      if (_p == before) return fail("a blank expected before an attribute");
      std::string key, value;
      if (!name(&key)) return false;
      if (e->attribute(key)) return fail("the attribute " + key + " twice");
      skipSpace();
      if (_p >= _s.size() || _s[_p] != '=') return fail("\"=\" expected");
      ++_p;
      skipSpace();
      if (_p >= _s.size() || (_s[_p] != '"' && _s[_p] != '\'')) return fail("an unquoted value");
      const char quote = _s[_p++];
      if (!characters(quote, &value)) return false;
      if (_p >= _s.size()) return fail("an unfinished value");
      ++_p;
      e->attributes.emplace_back(key, value);
    }
    for (;;) {
      if (!characters('<', &e->text)) return false;
      if (_p >= _s.size()) return fail("the end tag of " + e->name + " missing");
      if (_s.compare(_p, 4, "<!--") == 0) {
        const size_t end = _s.find("-->", _p + 4);
        if (end == std::string::npos) return fail("an unfinished comment");
        _p = end + 3;
      } else if (_s.compare(_p, 2, "</") == 0) {
        _p += 2;
        std::string closing;
        if (!name(&closing)) return false;
        if (closing != e->name) return fail("</" + closing + "> closes <" + e->name + ">");
        skipSpace();
        if (_p >= _s.size() || _s[_p] != '>') return fail("\">\" expected");
        ++_p;
        return true;
      } else {
        e->children.emplace_back();
        if (!element(&e->children.back())) return false;
      }
    }
  }

  const std::string& _s;
  size_t _p = 0;
  std::string _fault;
};

inline bool parseXml(const std::string& text, XmlElement* root, std::string* fault) {
  return XmlReader(text).read(root, fault);
}

}  // namespace motviewtest

#endif
