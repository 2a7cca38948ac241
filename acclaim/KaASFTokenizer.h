#ifndef KA_ASF_TOKENIZER_H
#define KA_ASF_TOKENIZER_H

#include <istream>
#include <string>

// Splits ASF text into words, end-of-line tokens and end-of-section tokens
// and counts lines for messages. It shares the buffer of the stream it is
// made on, so what it consumes is consumed from that stream too. Grammar
// belongs to the section readers; they see the file only through this class.
class ASFTokenizer : public std::istream {
 public:
  explicit ASFTokenizer(std::istream& source);

  // Stores the next word, bracket, end-of-line or end-of-section token.
  void getNextToken(char* buffer, int length);
  // Like getNextToken, but passes over end-of-line tokens.
  void getNextNonEOLToken(char* buffer, int length);
  // Gives the token of the last read once more: the next read stores it
  // again, with the end-of-input state that read had. A reader that has
  // read one token past what it reads hands that token back this way.
  void pushBack() { _pushedBack = true; }

  // True when the last read found no token because the input had ended.
  bool atEnd() const { return _atEnd; }
  int line() const { return _line; }

  static bool isEOLToken(const char* token);
  static bool isEndOfSectionToken(const char* token);

  static const char* const EOLToken;
  static const char* const EndOfSectionToken;

 private:
  void _readToken(char* buffer, int length);
  bool _skipWhiteSpace();
  void _readIdentifier(char* buffer, int length);

  int _line = 1;
  bool _atLineStart = true;
  bool _sectionOpen = false;
  bool _atEnd = false;
  bool _atStart = true;  // no character has been looked at yet
  bool _pushedBack = false;
  std::string _last;  // the token of the last read, for pushBack
};

// Number readers: "Invalid number." is recorded when the text holds no number.
float readASFFloat(const char* text);
// Like readASFFloat for numbers that must be finite: a text such as "nan",
// "inf" or "1e999" (beyond the float range) records "Number '...' is not
// finite." instead, and 0 is returned.
float readASFFiniteFloat(const char* text);
// False, with "Number '...' is not finite after conversion by the length
// factor." recorded, when value, the number text scaled to the skeleton's
// length unit, is not finite.
bool checkASFScaledValue(const char* text, float value);
int readASFInt(const char* text);
// Like readASFFloat, with "inf" and "-inf" (any case) as the largest floats.
float readASFLimit(const char* text);
// The conversion of readASFLimit without a record; false when it fails.
bool convertASFLimit(const char* text, float* value);

// Puts "Line N:  " in front of the newest diagnostic's message.
void addLineNumber(const ASFTokenizer& tokenizer);

#endif
