
#include "acclaim/KaASFReaderSections.h"
#include "toolkit/KtCancelHandler.h"
#include "toolkit/KtChars.h"
#include "toolkit/KtExcept.h"

using namespace KaASFReading;

void KaASFReading::failInASFSection(const ASFTokenizer& tokenizer, const char* message,
                                    const char* section) {
  KtError(message, section);
  addLineNumber(tokenizer);
}

void KaASFReading::readASFBlockSection(ASFTokenizer& tokenizer, const char* section,
                                       ASFBlockReader& reader) {
  char token[KaASFTokenLength];
  bool inBlock = false;
  int completed = 0;
  // The section keyword has just been read, so the tokenizer still stands
  // on its line.
  const int startLine = tokenizer.line();
  for (;;) {
    tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
    bool atEnd = tokenizer.atEnd();
    // A block section cannot end a file: say where the unfinished section
    // began rather than pointing past the last line.
    if (atEnd) {
      KtError("The file ends inside the %s section that begins on line %d.", section, startLine);
      return;
    }
    if (!atEnd && ASFTokenizer::isEndOfSectionToken(token)) {
      if (inBlock) failInASFSection(tokenizer, "Expected 'end' keyword in %s section.", section);
      return;
    }
    if (!atEnd && KtEqualNoCase(token, "begin")) {
      if (inBlock)
        return failInASFSection(tokenizer, "Expected 'end' keyword in %s section.", section);
      reader.beginBlock();
      inBlock = true;
    } else if (!atEnd && KtEqualNoCase(token, "end")) {
      if (!inBlock)
        return failInASFSection(tokenizer, "Unexpected 'end' encountered in %s section.", section);
      if (!reader.checkBlock()) return;
      if (++completed % 10 == 0 && KtCancelHandler::checkCancel()) return;
      reader.endBlock();
      inBlock = false;
    } else if (!inBlock) {
      return failInASFSection(tokenizer, "Data specified outside of begin/end pair in %s section.",
                              section);
    } else {
      switch (reader.readKeyword(token)) {
        case ASFBlockReader::Read:
          break;
        case ASFBlockReader::Failed:
          return;
        case ASFBlockReader::Unknown:
          KtError("Unexpected '%s' encountered in %s section.", token, section);
          addLineNumber(tokenizer);
          return;
      }
    }
  }
}
