#ifndef KR_LINE_ERROR_H
#define KR_LINE_ERROR_H

#include "toolkit/KtStr.h"

// Records "Line N:  <message>" as an error, and then the file-level message
// in front of it. Returns false, for the readers to return.
bool KrLineError(const char* fileMessage, const char* file, int line, const char* fmt, ...)
    KT_PRINTF_FORMAT(4, 5);

#endif
