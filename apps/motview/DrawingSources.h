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

#endif
