#include "apps/motview/DrawingSources.h"

#include "apps/motview/MarkupText.h"

std::string drawingTitle(const DrawingSources& sources) {
  std::string title;
  appendMarkupText(&title, sources.jointScript);
  title += " \xc2\xb7 ";
  appendMarkupText(&title, sources.importScript);
  title += " \xc2\xb7 ";
  appendMarkupText(&title, sources.mov);
  return title;
}
