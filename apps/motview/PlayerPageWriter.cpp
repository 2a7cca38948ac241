#include "apps/motview/PlayerPageWriter.h"

#include <ostream>
#include <string>

#include "apps/motview/DrawingNumbers.h"
#include "apps/motview/MarkupText.h"
#include "apps/motview/PlayerPageParts.h"

namespace {

// Nothing from outside: no script, style, image, font or connection but
// the page's own inline ones.
const char* const theContentPolicy =
    "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
    "img-src data:; base-uri 'none'; form-action 'none'";

void appendList(std::string* out, const long* values, int count) {
  for (int i = 0; i < count; ++i) {
    if (i) out->push_back(',');
    *out += std::to_string(values[i]);
  }
}

void appendFact(std::string* html, const char* name, const std::string& value) {
  *html += "<dt>";
  *html += name;
  *html += "</dt><dd>" + value + "</dd>\n";
}

std::string escaped(const std::string& text) {
  std::string out;
  appendMarkupText(&out, text);
  return out;
}

void writeFacts(std::string* html, TakePoses& poses, int step, int embedded,
                const DrawingSources& sources) {
  *html += "<aside>\n<h2>Take</h2>\n<dl>\n";
  appendFact(html, "Joint script", escaped(sources.jointScript));
  appendFact(html, "Import script", escaped(sources.importScript));
  appendFact(html, "MOV file", escaped(sources.mov));
  appendFact(html, "Frames",
             std::to_string(poses.firstFrame()) + "\xe2\x80\x93" +
                 std::to_string(poses.lastFrame()) + " (" + std::to_string(poses.frameCount()) +
                 ")");
  std::string seconds;
  appendFixed(&seconds, poses.frameCount() / (double)poses.fps(), 3);
  appendFact(html, "Rate", std::to_string(poses.fps()) + " frames a second");
  appendFact(html, "Length", seconds + " s");
  appendFact(html, "Embedded",
             step == 1 ? "every frame"
                       : std::to_string(embedded) + " frames, one in every " +
                             std::to_string(step) + " from the first");
  appendFact(html, "Joints", std::to_string(poses.jointCount()));
  *html +=
      "</dl>\n<h2>Keys</h2>\n"
      "<p><kbd>\xe2\x86\x90</kbd> <kbd>\xe2\x86\x92</kbd> one frame back or on; "
      "<kbd>Space</kbd> play or pause.</p>\n"
      "<p>Drag the stage to turn the free view; point at a joint to see its name.</p>\n"
      "<p>Front looks along \xe2\x88\x92z, side along \xe2\x88\x92x, top along \xe2\x88\x92y; "
      "the grey floor lies at the lowest point of the take.</p>\n"
      "</aside>\n";
}

void writeTakeData(std::string* html, TakePoses& poses, int step, int embedded) {
  const TakePoses::Box& box = poses.takeBox();
  *html += "<script type=\"application/json\" id=\"take\">{\"fps\":" + std::to_string(poses.fps()) +
           ",\"first\":" + std::to_string(poses.firstFrame()) +
           ",\"last\":" + std::to_string(poses.lastFrame()) + ",\"step\":" + std::to_string(step) +
           ",\"frames\":" + std::to_string(embedded) + ",\"joints\":[";
  for (int j = 0; j < poses.jointCount(); ++j) {
    if (j) html->push_back(',');
    appendJsonString(html, poses.jointName(j));
  }
  *html += "],\"parents\":[";
  for (int j = 0; j < poses.jointCount(); ++j) {
    if (j) html->push_back(',');
    *html += std::to_string(poses.parent(j));
  }
  const long corners[6] = {toHundredths(box.low.x),  toHundredths(box.low.y),
                           toHundredths(box.low.z),  toHundredths(box.high.x),
                           toHundredths(box.high.y), toHundredths(box.high.z)};
  *html += "],\"ground\":" + std::to_string(corners[1]) + ",\"box\":[";
  appendList(html, corners, 6);
  *html += "],\"p\":[";
  std::vector<KrVec3> joints;
  bool first = true;
  for (int k = 0; k < embedded; ++k) {
    poses.positionsAt(poses.firstFrame() + (long)k * step, &joints);
    for (const KrVec3& p : joints) {
      const long xyz[3] = {toHundredths(p.x), toHundredths(p.y), toHundredths(p.z)};
      if (!first) html->push_back(',');
      first = false;
      appendList(html, xyz, 3);
    }
  }
  *html += "]}</script>\n";
}

}  // namespace

void writePlayerPage(std::ostream& out, TakePoses& poses, int step, const DrawingSources& sources) {
  const int embedded = (poses.frameCount() + step - 1) / step;
  const std::string title = drawingTitle(sources);
  std::string html;
  html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  html += "<meta http-equiv=\"Content-Security-Policy\" content=\"" +
          std::string(theContentPolicy) + "\">\n";
  html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  html += "<title>" + title + "</title>\n<style>" + thePlayerPageStyle + "</style>\n</head>\n";
  html += "<body>\n<header>\n<h1>" + title + "</h1>\n<p>" + std::to_string(poses.jointCount()) +
          " joints, " + std::to_string(poses.frameCount()) + " frames at " +
          std::to_string(poses.fps()) +
          " frames a second, as Raro plays the take.</p>\n</header>\n";
  html +=
      "<main>\n<section class=\"player\">\n"
      "<svg id=\"stage\" xmlns=\"http://www.w3.org/2000/svg\" data-view=\"front\" "
      "preserveAspectRatio=\"xMidYMid meet\" role=\"img\" aria-label=\"The take's joints\">"
      "<polygon id=\"ground\"/><g id=\"bones\"></g><g id=\"joints\"></g></svg>\n"
      "<div class=\"controls\">\n"
      "<button id=\"play\" type=\"button\" aria-pressed=\"false\">Play</button>\n"
      "<input id=\"slider\" type=\"range\" min=\"0\" value=\"0\" step=\"1\" aria-label=\"Frame\">\n"
      "<span id=\"frame\"></span>\n</div>\n<div class=\"controls\">\n"
      "<button type=\"button\" data-show=\"front\">Front</button>\n"
      "<button type=\"button\" data-show=\"side\">Side</button>\n"
      "<button type=\"button\" data-show=\"top\">Top</button>\n"
      "<button type=\"button\" data-show=\"free\">Free</button>\n"
      "</div>\n<div id=\"joint\">\xc2\xa0</div>\n</section>\n";
  writeFacts(&html, poses, step, embedded, sources);
  html += "</main>\n";
  writeTakeData(&html, poses, step, embedded);
  html += "<script>" + std::string(thePlayerPageScript) + "</script>\n</body>\n</html>\n";
  out << html;
}
