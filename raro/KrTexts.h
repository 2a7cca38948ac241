#ifndef KR_TEXTS_H
#define KR_TEXTS_H

// Every message of the Raro model's readers.

// File level, with the file name.
extern const char* const theKrJointScriptFailed;   // %s file
extern const char* const theKrImportScriptFailed;  // %s file
extern const char* const theKrMovFailed;           // %s file
// Line level, "Line N:  " in front.
extern const char* const theKrLine;  // %d line
extern const char* const theKrExpectedJointLine;
extern const char* const theKrExpectedSemicolon;
extern const char* const theKrUnknownJointFlag;  // %s flag
extern const char* const theKrBadNumber;         // %s unit, %s word
extern const char* const theKrBareNumber;        // %s word
extern const char* const theKrBadRotationOrder;  // %s order
extern const char* const theKrBadDof;            // %s dof
extern const char* const theKrJointIncomplete;
extern const char* const theKrJointTwice;        // %s name
extern const char* const theKrNoSuchJoint;       // %s name
extern const char* const theKrChildNotAbsolute;  // %s name
extern const char* const theKrBadAttributeLine;
extern const char* const theKrUnknownImportLine;
extern const char* const theKrChannelTwice;       // %s channel
extern const char* const theKrAxisTwice;          // %ld axis
extern const char* const theKrUndefinedChannel;   // %s channel
extern const char* const theKrUnknownAttribute;   // %s attribute
extern const char* const theKrOutsideDof;         // %s attribute
extern const char* const theKrUnknownAngleUnit;   // %s unit
extern const char* const theKrUnknownLinearUnit;  // %s unit
extern const char* const theKrUnknownTimeUnit;    // %s unit
extern const char* const theKrNoTake;
extern const char* const theKrFrameMismatch;  // %ld time, %ld minTime
extern const char* const theKrMovNotNumber;   // %s word
extern const char* const theKrMovColumns;     // %d found, %d needed
extern const char* const theKrMovTime;        // %.9g time, %.9g expected
extern const char* const theKrMovEmpty;

#endif
