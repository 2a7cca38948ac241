// Names as they go into the drawings: escaped for XML and HTML, as JSON
// strings that cannot end a script element, and with bytes that are not
// UTF-8 or that XML cannot hold replaced.

#include <gtest/gtest.h>

#include <string>

#include "apps/motview/MarkupText.h"

namespace {

std::string markup(const std::string& text) {
  std::string out = "[";
  appendMarkupText(&out, text);
  return out + "]";
}

std::string json(const std::string& text) {
  std::string out;
  appendJsonString(&out, text);
  return out;
}

}  // namespace

TEST(MarkupText, EscapesTheFiveMarkupCharactersAndKeepsUtf8) {
  EXPECT_EQ(markup("a&b<c>d\"e'f"), "[a&amp;b&lt;c&gt;d&quot;e&#39;f]");
  EXPECT_EQ(markup("t\xc3\xa4nze/\xe2\x80\x93.mel"), "[t\xc3\xa4nze/\xe2\x80\x93.mel]");
  EXPECT_EQ(markup(""), "[]");
}

TEST(MarkupText, ReplacesControlCharactersAndBytesThatAreNotUtf8) {
  EXPECT_EQ(markup(std::string("a\tb\x01\x7f") + "c"), "[a?b??c]");
  // A lone continuation byte, a lead byte cut short at the end, an overlong
  // form.
  EXPECT_EQ(markup("x\x80y\xc3"), "[x?y?]");
  EXPECT_EQ(markup("\xc0\xaf"), "[??]");
}

TEST(MarkupText, WritesJsonStringsThatNoScriptEndTagCanHideIn) {
  EXPECT_EQ(json("root"), "\"root\"");
  EXPECT_EQ(json("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(json("</script><b>"), "\"\\u003c/script>\\u003cb>\"");
  EXPECT_EQ(json("tab\there\n"), "\"tab\\u0009here\\u000a\"");
  EXPECT_EQ(json("\xff\xc3\xa4"), "\"?\xc3\xa4\"");
}
