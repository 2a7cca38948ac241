#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include "toolkit/KtChars.h"

// The program never changes its locale, so the C library's classification
// here is that of the "C" locale the readers were written against.
TEST(KtChars, WhiteSpaceIsTheCLibrarysForEveryByteAndNeverEof) {
  for (int c = -128; c < 256; c++) {
    bool want = c >= 0 && std::isspace(c) != 0;
    EXPECT_EQ(KtIsSpace(c), want) << c;
    EXPECT_EQ(KtIsSpace(static_cast<char>(c)), std::isspace(static_cast<unsigned char>(c)) != 0)
        << c;
  }
  EXPECT_FALSE(KtIsSpace(EOF));
}

TEST(KtChars, CaseFoldingChangesTheAsciiLettersOnly) {
  for (int i = 0; i < 256; i++) {
    char c = static_cast<char>(i);
    bool ascii = i < 128;
    EXPECT_EQ(KtToUpper(c), ascii ? static_cast<char>(std::toupper(i)) : c) << i;
    EXPECT_EQ(KtToLower(c), ascii ? static_cast<char>(std::tolower(i)) : c) << i;
  }
  EXPECT_EQ(KtLowerCase("LFemur_2 \xC3\x84"), "lfemur_2 \xC3\x84");
  EXPECT_EQ(KtLowerCase(""), "");
  EXPECT_EQ(KtLowerCase(nullptr), "");
}
