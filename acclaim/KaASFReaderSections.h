#ifndef KA_ASF_READER_SECTIONS_H
#define KA_ASF_READER_SECTIONS_H

// Section readers shared by the files of the ASF reader; not a public
// interface: the header is not installed, and its names live in the
// namespace KaASFReading so that they are no global names of the library.
// Each records its failure in the diagnostics holder and returns.

#include "acclaim/KaASF.h"
#include "acclaim/KaASFTokenizer.h"

// Every token is read into a buffer of this size (80 characters and a NUL).
const int KaASFTokenLength = 81;

namespace KaASFReading {

// One kind of begin/end block (a bone, a dof group) of a block section.
class ASFBlockReader {
 public:
  enum Keyword { Read, Failed, Unknown };

  virtual ~ASFBlockReader() = default;
  // "begin": starts a fresh object with no keyword seen.
  virtual void beginBlock() = 0;
  // "end": false, after a recorded error, when the block lacks a keyword
  // it needs.
  virtual bool checkBlock() = 0;
  // Hands the completed object to its list.
  virtual void endBlock() = 0;
  // A keyword inside a block: Read, Failed after a recorded error, or
  // Unknown for a word that is no keyword of the block (nothing recorded).
  virtual Keyword readKeyword(const char* keyword) = 0;
};

// The begin/end frame that :bonedata and :dofgroups share: blocks one after
// the other up to the end of the section, every word inside a block handed
// to the reader. Polls the cancellation hook after every 10th block.
void readASFBlockSection(ASFTokenizer& tokenizer, const char* section, ASFBlockReader& reader);
// Records message, with section for its "%s", and the line number.
void failInASFSection(const ASFTokenizer& tokenizer, const char* message, const char* section);

void readBonedataSection(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>* groups, int angleFlag,
                         KtList<KaASFBone*>& bones, const KaASF& skeleton);
void readDofgroupsSection(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>& groups,
                          const KaASF& skeleton);

// Reads a dof list into target; the first token after the list is pushed
// back into the tokenizer.
void readASFDofList(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>* groups, KaASFDOFGroup& target);
// Three axis codes, or an empty array after a recorded error.
KtArray<int> readASFAxisOrder(const char* text);
// Reads limit pairs for target's own dofs. On success the token that ended
// the list is pushed back into the tokenizer.
void readASFLimitsList(ASFTokenizer& tokenizer, KaASFDOFGroup& target, int angleFlag,
                       const char* section);

}  // namespace KaASFReading

// Degree conversions shared by the reader and the writer.
float KaASFDegreesToRadians(float degrees);
double KaASFRadiansToDegrees(float radians);

#endif
