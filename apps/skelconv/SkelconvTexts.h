#pragma once

#include <iosfwd>

/// The fixed texts skelconv prints on standard output: usage, manual page,
/// copyright notice and version banner.
void SkelconvPrintUsage(std::ostream &out);
void SkelconvPrintManPage(std::ostream &out);
void SkelconvPrintCopyright(std::ostream &out);
/// "--version": the name and the version on one line.
void SkelconvPrintVersion(std::ostream &out);
void SkelconvPrintBanner(std::ostream &out);
