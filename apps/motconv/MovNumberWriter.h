#ifndef MOV_NUMBER_WRITER_H
#define MOV_NUMBER_WRITER_H

#include <iosfwd>

// Writes v as the stream's float insertion would (at the default state:
// "%g", six significant digits), followed by one blank. At the default
// state the digits are formed without the stream's formatting machinery,
// which the channel table's millions of numbers would otherwise pay for.
void writeMovNumber(std::ostream& out, double v);

#endif
