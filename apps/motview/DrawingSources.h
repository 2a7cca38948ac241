#ifndef DRAWING_SOURCES_H
#define DRAWING_SOURCES_H

#include <string>

// The three files a drawing is made from, named as the command line gave
// them; the drawings show them in their titles.
struct DrawingSources {
  std::string jointScript;
  std::string importScript;
  std::string mov;
};

// The drawings' title: the three names in that order, escaped as markup
// text, with a middle dot (U+00B7) between blanks between them.
std::string drawingTitle(const DrawingSources& sources);

#endif
