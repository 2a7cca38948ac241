#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "toolkit/KtStr.h"

TEST(KtStr, ExtractFirstTokenConsumesOneTrailingDelimiter) {
  KtStr s("   a  b");
  KtStr a = s.extractFirstToken(" ");
  EXPECT_EQ(a, "a");
  EXPECT_EQ(s, " b");
  KtStr b = s.extractFirstToken(" ");
  EXPECT_EQ(b, "b");
  EXPECT_TRUE(s == nullptr);
  KtStr none = s.extractFirstToken(" ");
  EXPECT_TRUE(none == nullptr);
  EXPECT_TRUE(s == nullptr);

  KtStr line("name:,value,");
  EXPECT_EQ(line.extractFirstToken(":,"), "name");
  EXPECT_EQ(line, ",value,");
  EXPECT_EQ(line.extractFirstToken(":,"), "value");
  EXPECT_EQ(line, "");
  EXPECT_FALSE(line == nullptr);
  EXPECT_TRUE(line.extractFirstToken(":,") == nullptr);
}

TEST(KtStr, FirstTokenLeavesTheStringAndGivesNullWithoutAToken) {
  KtStr s(" \tbone  rest");
  EXPECT_EQ(s.firstToken(" \t"), "bone");
  EXPECT_EQ(s, " \tbone  rest");
  EXPECT_TRUE(KtStr(" , ,").firstToken(" ,") == nullptr);
  EXPECT_TRUE(KtStr("").firstToken(" ") == nullptr);
  EXPECT_TRUE(KtStr().firstToken(" ") == nullptr);
}

TEST(KtStr, DoubleValueRequiresTheWholeTextAndNoOverflow) {
  double d = -1;
  EXPECT_EQ(KtStr("1.5").doubleValue(&d), 1);
  EXPECT_EQ(d, 1.5);
  d = -1;
  EXPECT_EQ(KtStr("1.5 ").doubleValue(&d), 0);
  EXPECT_EQ(d, 1.5);
  d = -1;
  EXPECT_EQ(KtStr("1.5x").doubleValue(&d), 0);
  EXPECT_EQ(d, 1.5);
  d = -1;
  EXPECT_EQ(KtStr("").doubleValue(&d), 1);
  EXPECT_EQ(d, 0);
  EXPECT_EQ(KtStr(" -2").doubleValue(&d), 1);
  EXPECT_EQ(d, -2);
  EXPECT_EQ(KtStr("1e999").doubleValue(&d), 0);
  // A range error from an earlier conversion must not leak into this one.
  EXPECT_EQ(KtStr("3").doubleValue(&d), 1);

  float f = 0;
  EXPECT_EQ(KtStr("0.25").floatValue(&f), 1);
  EXPECT_EQ(f, 0.25f);
  EXPECT_EQ(KtStr("0.25;").floatValue(&f), 0);
}

TEST(KtStr, IntegerConversionsAreStrictAndDecimal) {
  long l = 0;
  EXPECT_EQ(KtStr("-42").longValue(&l), 1);
  EXPECT_EQ(l, -42);
  EXPECT_EQ(KtStr("12x").longValue(&l), 0);
  EXPECT_EQ(l, 12);
  EXPECT_EQ(KtStr("0x10").longValue(&l), 0);
  EXPECT_EQ(KtStr("010").longValue(&l), 1);
  EXPECT_EQ(l, 10);
  EXPECT_EQ(KtStr("99999999999999999999999").longValue(&l), 0);
  int i = 0;
  EXPECT_EQ(KtStr("17").intValue(&i), 1);
  EXPECT_EQ(i, 17);
  EXPECT_EQ(KtStr("17 ").intValue(&i), 0);
  unsigned long u = 0;
  EXPECT_EQ(KtStr("4000000000").unsignedLongValue(&u), 1);
  EXPECT_EQ(u, 4000000000ul);
  EXPECT_EQ(KtStr("4.0").unsignedLongValue(&u), 0);
}

TEST(KtStr, BooleanValueAcceptsWordsAndZeroOrOne) {
  int b = -1;
  EXPECT_EQ(KtStr("yes").booleanValue(&b), 1);
  EXPECT_EQ(b, 1);
  b = -1;
  EXPECT_EQ(KtStr("On").booleanValue(&b), 1);
  EXPECT_EQ(b, 1);
  b = -1;
  EXPECT_EQ(KtStr("true").booleanValue(&b), 1);
  EXPECT_EQ(b, 1);
  b = -1;
  EXPECT_EQ(KtStr("no").booleanValue(&b), 1);
  EXPECT_EQ(b, 0);
  b = -1;
  EXPECT_EQ(KtStr("OFF").booleanValue(&b), 1);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(KtStr("1").booleanValue(&b), 1);
  EXPECT_EQ(b, 1);
  EXPECT_EQ(KtStr("2").booleanValue(&b), 0);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(KtStr("maybe").booleanValue(&b), 0);
  EXPECT_EQ(KtStr("yess").booleanValue(&b), 0);
}

TEST(KtStr, NullStringDiffersFromEmptyString) {
  KtStr null;
  KtStr empty("");
  KtStr fromNull(static_cast<const char*>(nullptr));
  EXPECT_TRUE(null == nullptr);
  EXPECT_TRUE(fromNull == nullptr);
  EXPECT_FALSE(empty == nullptr);
  EXPECT_TRUE(empty != nullptr);
  EXPECT_FALSE(null == empty);
  EXPECT_TRUE(null != empty);
  EXPECT_TRUE(null == KtStr());
  EXPECT_TRUE(empty == KtStr(""));
  EXPECT_EQ(null.length(), 0);
  EXPECT_STREQ(null.text(), "");
  KtStr s("x");
  s = static_cast<const char*>(nullptr);
  EXPECT_TRUE(s == nullptr);
}

TEST(KtStr, CopiesAndSuffixesAreIsolatedOnModification) {
  KtStr original("abcdef");
  KtStr copy(original);
  copy.upper();
  EXPECT_EQ(original, "abcdef");
  EXPECT_EQ(copy, "ABCDEF");

  KtStr tail = original.right(3);
  EXPECT_EQ(tail, "def");
  tail.setChar(0, 'X');
  EXPECT_EQ(tail, "Xef");
  EXPECT_EQ(original, "abcdef");
  original.setChar(5, 'Z');
  EXPECT_EQ(original, "abcdeZ");

  KtStr front(original);
  front.remove(0, 2);
  EXPECT_EQ(front, "cdeZ");
  EXPECT_EQ(original, "abcdeZ");
  original.insert(0, ">");
  EXPECT_EQ(front, "cdeZ");
  EXPECT_EQ(original, ">abcdeZ");
}

TEST(KtStr, AssigningItsOwnTailSharesTheBuffer) {
  KtStr s("path/to/file");
  KtStr other(s);
  s = s.text() + 5;
  EXPECT_EQ(s, "to/file");
  EXPECT_EQ(s.length(), 7);
  EXPECT_EQ(other, "path/to/file");
  s.upper();
  EXPECT_EQ(s, "TO/FILE");
  EXPECT_EQ(other, "path/to/file");

  KtStr alone("abcdef");
  alone = alone.right(2);
  EXPECT_EQ(alone, "ef");
  alone += "g";
  EXPECT_EQ(alone, "efg");
  alone = alone;
  EXPECT_EQ(alone, "efg");
}

TEST(KtStr, SubstringsPadAndClampCounts) {
  KtStr ab("ab");
  EXPECT_EQ(ab.left(5), "ab   ");
  EXPECT_EQ(ab.left(1), "a");
  EXPECT_EQ(ab, "ab");
  EXPECT_EQ(ab.mid(1, 0), "ab");
  EXPECT_EQ(ab.right(0), "");
  EXPECT_FALSE(ab.right(0) == nullptr);
  KtStr abc("abc");
  EXPECT_EQ(abc.right(10), "abc");
  EXPECT_EQ(abc.notLeft(10), "");
  EXPECT_EQ(abc.notLeft(1), "bc");
  EXPECT_EQ(abc.notRight(1), "ab");
  EXPECT_EQ(abc.mid(1, 1), "b");
  EXPECT_EQ(abc.notMid(1, 1), "ac");
  KtStr r("abc");
  r.remove(1, 10);
  EXPECT_EQ(r, "a");
  r.remove(0, 10);
  EXPECT_EQ(r, "");
  KtStr p("x");
  p.padLeft(2, '-').padRight(1, '+').padRight(0, '!');
  EXPECT_EQ(p, "--x+");
}

TEST(KtStr, EditingOperations) {
  KtStr s(" \ta b\t c \t");
  EXPECT_EQ(s.squeeze(), "abc");
  KtStr t("  word \n");
  EXPECT_EQ(t.trimLeft(), "word \n");
  EXPECT_EQ(t.trimRight(), "word");
  KtStr r("aba");
  EXPECT_EQ(r.replaceAll("a", "aa"), "aabaa");
  KtStr same("a-b-c");
  EXPECT_EQ(same.replaceAll("-", "+"), "a+b+c");
  EXPECT_EQ(same.replaceAll("", "x"), "a+b+c");
  KtStr one("one two two");
  EXPECT_EQ(one.replace("two", "2"), "one 2 two");
  EXPECT_EQ(one.replace(0, 3, "1"), "1 2 two");
  EXPECT_EQ(one.remove("2 "), "1 two");
  KtStr n("ab");
  n.catN("cd", 4);
  EXPECT_EQ(n, "abcd  ");
  n.catN("efgh", 2);
  EXPECT_EQ(n, "abcd  ef");
  KtStr f;
  f.setF("%d-%s", 7, "x");
  f.catF("%c", '!');
  EXPECT_EQ(f, "7-x!");
  EXPECT_EQ(KtStr("a") + "b" + KtStr("c"), "abc");
  EXPECT_EQ("x" + KtStr("y"), "xy");
}

TEST(KtStr, SearchOperations) {
  KtStr s("a.b.c");
  int pos = -1;
  EXPECT_TRUE(s.contains(".c", &pos));
  EXPECT_EQ(pos, 3);
  EXPECT_FALSE(s.contains("x"));
  EXPECT_TRUE(s.contains('b', &pos));
  EXPECT_EQ(pos, 2);
  EXPECT_TRUE(s.findNth('.', 2, &pos));
  EXPECT_EQ(pos, 3);
  EXPECT_FALSE(s.findNth('.', 3, &pos));
  EXPECT_TRUE(s.findLast('.', &pos));
  EXPECT_EQ(pos, 3);
  EXPECT_EQ(s.matchCount('.'), 2);
}

TEST(KtStr, ComparisonsWithAndWithoutCase) {
  KtStr root("ROOT");
  EXPECT_EQ(root.iCmp("Root"), 0);
  EXPECT_EQ(root.iNCmp("ro"), 0);
  EXPECT_EQ(root.nCmp("RO"), 0);
  EXPECT_NE(root.iCmp("ro"), 0);
  EXPECT_GT(root.iCmp("ro"), 0);
  EXPECT_LT(KtStr("ro").iCmp("ROOT"), 0);
  EXPECT_NE(root.nCmp("Ro"), 0);
  EXPECT_EQ(root.cmp("ROOT"), 0);
  EXPECT_TRUE(KtStr("a") < KtStr("b"));
  EXPECT_TRUE(KtStr("b") >= "a");
  EXPECT_TRUE("a" <= KtStr("a"));
}

TEST(KtStr, ScanFromReadsWordsOfAnyLength) {
  std::istringstream in("  first\tsecond\n");
  KtStr w;
  w.scanFrom(in);
  EXPECT_EQ(w, "first");
  in >> w;
  EXPECT_EQ(w, "second");
  EXPECT_TRUE(in.good());
  w = "kept";
  w.scanFrom(in);
  EXPECT_TRUE(in.fail());

  std::istringstream lastWord("word");
  KtStr v;
  v.scanFrom(lastWord);
  EXPECT_EQ(v, "word");
  EXPECT_TRUE(lastWord.good());
  v.scanFrom(lastWord);
  EXPECT_TRUE(lastWord.fail());

  std::string big(700, 'q');
  std::istringstream bigIn(big + " tail");
  KtStr b;
  b.scanFrom(bigIn);
  EXPECT_EQ(std::string(b.text()), big);
  b.scanFrom(bigIn);
  EXPECT_EQ(b, "tail");

  std::istringstream delimited("abcdef:gh");
  KtStr d;
  d.scanFrom(delimited, 10, ':');
  EXPECT_EQ(d, "abcdef");
  EXPECT_EQ(delimited.peek(), ':');
  std::istringstream limited("abcdef:gh");
  d.scanFrom(limited, 4, ':');
  EXPECT_EQ(d, "abc");
}

namespace {

// An output buffer that counts how often it is flushed.
class SyncCounter : public std::stringbuf {
 public:
  int syncs = 0;

 protected:
  int sync() override {
    syncs++;
    return 0;
  }
};

}  // namespace

TEST(KtStr, ReadingFlushesTheTiedOutputStream) {
  SyncCounter prompt;
  std::ostream promptOut(&prompt);
  std::istringstream in("answer rest:x\nline\n");
  in.tie(&promptOut);
  KtStr word;
  promptOut << "Name? ";
  word.scanFrom(in);
  EXPECT_EQ(word, "answer");
  EXPECT_GE(prompt.syncs, 1);
  int before = prompt.syncs;
  word.scanFrom(in, 20, ':');
  EXPECT_EQ(word, " rest");
  EXPECT_GT(prompt.syncs, before);
}

TEST(KtStr, ScanLineReadsWholeLines) {
  std::string big(600, 'l');
  std::istringstream in("first line\n\n" + big + "\nlast");
  KtStr line;
  line.scanLine(in);
  EXPECT_EQ(line, "first line");
  line.scanLine(in);
  EXPECT_EQ(line, "");
  EXPECT_FALSE(line == nullptr);
  line.scanLine(in);
  EXPECT_EQ(std::string(line.text()), big);
  line.scanLine(in);
  EXPECT_EQ(line, "last");
  EXPECT_TRUE(in.good());
  line.scanLine(in);
  EXPECT_TRUE(line == nullptr);
  EXPECT_TRUE(in.fail());
}

TEST(KtStr, TextDupAndPrinting) {
  KtStr s("abc");
  char* dup = s.textDup();
  EXPECT_STREQ(dup, "abc");
  EXPECT_NE(dup, s.text());
  delete[] dup;
  std::ostringstream out;
  out << s;
  s.printOn(out);
  EXPECT_EQ(out.str(), "abcabc");
  EXPECT_EQ(s.size(), 4);
  EXPECT_EQ(KtStr("abcdef", 3), "abc");
}
