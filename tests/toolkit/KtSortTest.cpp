#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/KtSort.h"

namespace {

KtArray<KtStr> names(const std::vector<const char*>& texts) {
  KtArray<KtStr> out(static_cast<int>(texts.size()));
  for (int i = 0; i < out.count(); i++) out[i] = texts[i];
  return out;
}

std::vector<std::string> texts(const KtArray<KtStr>& a) {
  std::vector<std::string> out;
  for (const KtStr& s : a) out.push_back(s.text());
  return out;
}

}  // namespace

TEST(KtSort, SortsStringsInEitherDirection) {
  KtArray<KtStr> a = names({"pear", "apple", "fig", "Zebra", "apple", "kiwi"});
  KtSort(&a);
  EXPECT_EQ(texts(a), (std::vector<std::string>{"Zebra", "apple", "apple", "fig", "kiwi", "pear"}));
  KtSort(&a, KtSortDescending);
  EXPECT_EQ(texts(a), (std::vector<std::string>{"pear", "kiwi", "fig", "apple", "apple", "Zebra"}));
}

TEST(KtSort, SortsOnlyTheGivenRangeAndIgnoresEmptyRanges) {
  KtArray<KtStr> a = names({"d", "c", "b", "a", "e"});
  KtSort(&a, KtSortAscending, 1, 3);
  EXPECT_EQ(texts(a), (std::vector<std::string>{"d", "a", "b", "c", "e"}));
  KtSort(&a, KtSortAscending, 2, 2);
  KtSort(&a, KtSortAscending, 3, 1);
  KtSort(&a, KtSortAscending, 5, 9);
  KtSort(&a, KtSortAscending, 0, -1);
  EXPECT_EQ(texts(a), (std::vector<std::string>{"d", "a", "b", "c", "e"}));
  KtArray<KtStr> one = names({"only"});
  KtSort(&one);
  EXPECT_EQ(texts(one), (std::vector<std::string>{"only"}));
}

TEST(KtSort, ArraySortCarriesNamesWithTheirKeys) {
  KtArray<long> keys(5);
  long values[] = {30, -5, 100, 7, 30};
  for (int i = 0; i < 5; i++) keys[i] = values[i];
  KtArray<KtStr> a = names({"thirty", "minus five", "hundred", "seven", "thirty"});
  KtArraySort(&keys, &a, KtSortDescending, 0, 4);
  EXPECT_EQ(texts(a),
            (std::vector<std::string>{"hundred", "thirty", "thirty", "seven", "minus five"}));
  for (int i = 0; i < 4; i++) EXPECT_GE(keys[i], keys[i + 1]);
  KtArraySort(&keys, &a, KtSortAscending, 0, 4);
  EXPECT_EQ(keys[0], -5);
  EXPECT_EQ(texts(a)[0], "minus five");
  EXPECT_EQ(texts(a)[4], "hundred");
}
