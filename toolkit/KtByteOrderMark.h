#ifndef KT_BYTE_ORDER_MARK_H
#define KT_BYTE_ORDER_MARK_H

#include <streambuf>

// Skips a UTF-8 byte-order mark (EF BB BF) at the buffer's position, which
// some editors write at the start of a text file; any other bytes are left
// to be read. The mark holds no line end, so the readers count lines as
// without it.
void KtSkipByteOrderMark(std::streambuf* buf);

#endif
