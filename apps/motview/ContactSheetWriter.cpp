#include "apps/motview/ContactSheetWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>

#include "apps/motview/DrawingNumbers.h"
#include "apps/motview/MarkupText.h"

namespace {

// The sheet's layout, in pixels.
constexpr double theViewHeight = 200;  // ground to the take's highest point
constexpr double theLeftMargin = 72;   // the row labels
constexpr double theRightMargin = 24;
constexpr double theGridTop = 84;  // under the title and the facts
constexpr double theViewPadding = 10;
constexpr double theRowGap = 20;
constexpr double theColumnGap = 16;
constexpr double theMinCellWidth = 110;  // room for the labels
constexpr double theCellPadding = 12;    // either side of the widest pose
constexpr double theJointRadius = 3.5;
constexpr double theBoneWidth = 2;

// The two views: the horizontal screen axis of each, in world terms. Both
// have y up, drawn as -y since SVG's y grows downward.
struct View {
  const char* name;
  // The screen x of a world point, in hundredths: front x, side -z.
  long (*across)(const KrVec3& p);
};

long frontAcross(const KrVec3& p) {
  return toHundredths(p.x);
}
long sideAcross(const KrVec3& p) {
  return toHundredths(-p.z);
}

const View theViews[] = {{"front", frontAcross}, {"side", sideAcross}};

// The geometry every cell shares.
struct Layout {
  double scale = 1;      // pixels per inch
  double cellWidth = 0;  // pixels
  double groundY = 0;    // inches, the take's lowest point
  double topY = 0;       // inches, the take's highest point
  double viewTop(int row) const {
    return theGridTop + theViewPadding + row * (theViewHeight + 2 * theViewPadding + theRowGap);
  }
  double cellLeft(int column) const { return theLeftMargin + column * (cellWidth + theColumnGap); }
};

// One pose: its frame and every joint's world position (inches).
struct Pose {
  long frame;
  std::vector<KrVec3> joints;
};

// A value in the writer's fixed precision for pixel places.
std::string px(double value) {
  std::string text;
  appendFixed(&text, value, 2);
  return text;
}

// The nicest length (1, 2 or 5 times a power of ten) not above `most`.
double scaleBarLength(double most) {
  double length = std::pow(10.0, std::floor(std::log10(most)));
  if (length * 5 <= most) return length * 5;
  if (length * 2 <= most) return length * 2;
  return length;
}

Layout computeLayout(TakePoses& poses, const std::vector<Pose>& shown) {
  Layout layout;
  const TakePoses::Box& box = poses.takeBox();
  layout.groundY = box.low.y;
  layout.topY = box.high.y;
  const double height = std::max(layout.topY - layout.groundY, 1.0);
  // The scale as the sheet prints it, so that the text says what is drawn.
  std::string printed;
  appendShort(&printed, theViewHeight / height, 4);
  layout.scale = std::strtod(printed.c_str(), nullptr);
  double half = 0.25 * height;
  for (const Pose& pose : shown) {
    if (pose.joints.empty()) continue;
    const KrVec3& centre = pose.joints[0];
    for (const KrVec3& p : pose.joints)
      half = std::max({half, std::fabs(p.x - centre.x), std::fabs(p.z - centre.z)});
  }
  layout.cellWidth =
      std::max(std::ceil(2 * half * layout.scale) + 2 * theCellPadding, theMinCellWidth);
  return layout;
}

void writeHeader(std::string* svg, TakePoses& poses, const std::vector<Pose>& shown,
                 const Layout& layout, const DrawingSources& sources, double width, double height) {
  const std::string title = drawingTitle(sources);
  *svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  *svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + px(width) + "\" height=\"" +
          px(height) + "\" viewBox=\"0 0 " + px(width) + " " + px(height) +
          "\" font-family=\"DejaVu Sans, Helvetica, Arial, sans-serif\" data-scale=\"";
  appendShort(svg, layout.scale, 4);
  *svg += "\">\n<title>" + title + "</title>\n";
  *svg +=
      "<style>.v line{stroke:#2f5d8a;stroke-linecap:round}.v circle{fill:#c0392b}"
      ".v line.ground{stroke:#8a8f98;stroke-dasharray:4 3}.cell{fill:#f4f6f8}"
      ".label{fill:#333;font-size:12px;text-anchor:middle}.row{fill:#555;font-size:13px}"
      "</style>\n";
  *svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  *svg += "<text x=\"" + px(theLeftMargin) +
          "\" y=\"34.00\" font-size=\"18\" font-weight=\"bold\">" + title + "</text>\n";
  *svg += "<text x=\"" + px(theLeftMargin) + "\" y=\"58.00\" font-size=\"12\" fill=\"#555\">" +
          std::to_string(shown.size()) + " of " + std::to_string(poses.frameCount()) +
          " frames (scene frames " + std::to_string(poses.firstFrame()) + " to " +
          std::to_string(poses.lastFrame()) + " at " + std::to_string(poses.fps()) +
          " frames a second), " + std::to_string(poses.jointCount()) +
          " joints. Front view looking along \xe2\x88\x92z over side view looking along "
          "\xe2\x88\x92x, y up; the dashed line is the lowest point of the take.</text>\n";
  for (int row = 0; row < 2; ++row)
    *svg += "<text class=\"row\" x=\"16.00\" y=\"" + px(layout.viewTop(row) + theViewHeight / 2) +
            "\">" + theViews[row].name + "</text>\n";
}

void writeView(std::string* svg, const View& view, const Pose& pose, const TakePoses& poses,
               const Layout& layout, int row, int column) {
  const double top = layout.viewTop(row);
  const double left = layout.cellLeft(column);
  *svg += "<rect class=\"cell\" x=\"" + px(left) + "\" y=\"" + px(top - theViewPadding) +
          "\" width=\"" + px(layout.cellWidth) + "\" height=\"" +
          px(theViewHeight + 2 * theViewPadding) + "\"/>\n";
  const long centre = pose.joints.empty() ? 0 : view.across(pose.joints[0]);
  const double tx = left + layout.cellWidth / 2 - layout.scale * centre / 100.0;
  const double ty = top + layout.scale * layout.topY;
  *svg += "<g class=\"v\" data-view=\"" + std::string(view.name) + "\" transform=\"translate(" +
          px(tx) + " " + px(ty) + ") scale(";
  appendShort(svg, layout.scale, 4);
  *svg += ")\" stroke-width=\"";
  appendShort(svg, theBoneWidth / layout.scale, 3);
  *svg += "\">\n";
  // The ground line across the cell.
  const long half = toHundredths(layout.cellWidth / 2 / layout.scale);
  const long ground = toHundredths(-layout.groundY);
  *svg += "<line class=\"ground\" x1=\"";
  appendHundredths(svg, centre - half);
  *svg += "\" y1=\"";
  appendHundredths(svg, ground);
  *svg += "\" x2=\"";
  appendHundredths(svg, centre + half);
  *svg += "\" y2=\"";
  appendHundredths(svg, ground);
  *svg += "\"/>\n";
  for (int j = 0; j < poses.jointCount(); ++j) {
    const int parent = poses.parent(j);
    if (parent < 0) continue;
    *svg += "<line x1=\"";
    appendHundredths(svg, view.across(pose.joints[parent]));
    *svg += "\" y1=\"";
    appendHundredths(svg, toHundredths(-pose.joints[parent].y));
    *svg += "\" x2=\"";
    appendHundredths(svg, view.across(pose.joints[j]));
    *svg += "\" y2=\"";
    appendHundredths(svg, toHundredths(-pose.joints[j].y));
    *svg += "\"/>\n";
  }
  std::string radius;
  appendShort(&radius, theJointRadius / layout.scale, 3);
  for (int j = 0; j < poses.jointCount(); ++j) {
    *svg += "<circle data-joint=\"";
    appendMarkupText(svg, poses.jointName(j));
    *svg += "\" cx=\"";
    appendHundredths(svg, view.across(pose.joints[j]));
    *svg += "\" cy=\"";
    appendHundredths(svg, toHundredths(-pose.joints[j].y));
    *svg += "\" r=\"" + radius + "\"/>\n";
  }
  *svg += "</g>\n";
}

void writePose(std::string* svg, const Pose& pose, const TakePoses& poses, const Layout& layout,
               int column) {
  *svg += "<g data-frame=\"" + std::to_string(pose.frame) + "\">\n";
  for (int row = 0; row < 2; ++row) writeView(svg, theViews[row], pose, poses, layout, row, column);
  const double x = layout.cellLeft(column) + layout.cellWidth / 2;
  const double y = layout.viewTop(1) + theViewHeight + theViewPadding;
  *svg += "<text class=\"label\" x=\"" + px(x) + "\" y=\"" + px(y + 18) + "\">frame " +
          std::to_string(pose.frame) + "</text>\n";
  *svg += "<text class=\"label\" x=\"" + px(x) + "\" y=\"" + px(y + 34) + "\">";
  appendFixed(svg, poses.timeOf(pose.frame), 3);
  *svg += " s</text>\n</g>\n";
}

void writeScaleBar(std::string* svg, const Layout& layout, double y) {
  const double length = scaleBarLength((layout.topY - layout.groundY) / 3);
  const double x1 = theLeftMargin, x2 = theLeftMargin + length * layout.scale;
  *svg += "<g stroke=\"#333\" stroke-width=\"1.5\"><line x1=\"" + px(x1) + "\" y1=\"" + px(y) +
          "\" x2=\"" + px(x2) + "\" y2=\"" + px(y) + "\"/><line x1=\"" + px(x1) + "\" y1=\"" +
          px(y - 4) + "\" x2=\"" + px(x1) + "\" y2=\"" + px(y + 4) + "\"/><line x1=\"" + px(x2) +
          "\" y1=\"" + px(y - 4) + "\" x2=\"" + px(x2) + "\" y2=\"" + px(y + 4) + "\"/></g>\n";
  *svg += "<text x=\"" + px(x2 + 8) + "\" y=\"" + px(y + 4) + "\" font-size=\"12\" fill=\"#333\">";
  appendShort(svg, length, 6);
  *svg += " in</text>\n";
}

}  // namespace

void writeContactSheet(std::ostream& out, TakePoses& poses, const std::vector<long>& frames,
                       const DrawingSources& sources) {
  std::vector<Pose> shown(frames.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    shown[i].frame = frames[i];
    poses.positionsAt(frames[i], &shown[i].joints);
  }
  const Layout layout = computeLayout(poses, shown);
  const int columns = (int)shown.size();
  const double width = layout.cellLeft(columns) - theColumnGap + theRightMargin;
  const double labelsBottom = layout.viewTop(1) + theViewHeight + theViewPadding + 34;
  const double scaleBarY = labelsBottom + 28;
  const double height = scaleBarY + 24;

  std::string svg;
  writeHeader(&svg, poses, shown, layout, sources, width, height);
  for (int column = 0; column < columns; ++column)
    writePose(&svg, shown[column], poses, layout, column);
  writeScaleBar(&svg, layout, scaleBarY);
  svg += "</svg>\n";
  out << svg;
}
