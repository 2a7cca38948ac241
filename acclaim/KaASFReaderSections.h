#ifndef KA_ASF_READER_SECTIONS_H
#define KA_ASF_READER_SECTIONS_H

// Section readers shared by the files of the ASF reader; not a public
// interface. Each records its failure in the diagnostics holder and returns.

#include "acclaim/KaASF.h"
#include "acclaim/KaASFTokenizer.h"

// Every token is read into a buffer of this size (80 characters and a NUL).
const int KaASFTokenLength = 81;

void readBonedataSection(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>* groups, int angleFlag,
                         KtList<KaASFBone*>& bones, const KaASF& skeleton);
void readDofgroupsSection(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>& groups,
                          const KaASF& skeleton);

// Reads a dof list into target; the first token after the list is left in
// buffer.
void readASFDofList(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>* groups, KaASFDOFGroup& target,
                    char* buffer);
// Three axis codes, or an empty array after a recorded error.
KtArray<int> readASFAxisOrder(const char* text);
// Reads limit pairs for target's own dofs. On success the token that ended
// the list is left in buffer and *pending is set.
void readASFLimitsList(ASFTokenizer& tokenizer, KaASFDOFGroup& target, int angleFlag,
                       const char* section, char* buffer, bool* pending);

// Degree conversions shared by the reader and the writer.
float KaASFDegreesToRadians(float degrees);
double KaASFRadiansToDegrees(float radians);

#endif
