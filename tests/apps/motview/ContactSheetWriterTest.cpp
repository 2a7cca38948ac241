// The contact sheet as a user gets it from motview: a well-formed SVG
// document whose poses are the frames asked for (or eight spread over the
// take), each with a front and a side view, whose joints are drawn where
// the Raro model puts them on that frame and whose bones join them, with
// one scale for the whole sheet, the ground at the lowest point of the take
// and the three file names in the title; the same take gives the same
// bytes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/apps/motview/MotviewTestTakes.h"
#include "tests/apps/motview/XmlDocument.h"

using namespace motviewtest;

namespace {

// The projections the sheet promises: front (x, -y), side (-z, -y).
double across(const std::string& view, const KrVec3& p) {
  return view == "front" ? p.x : -p.z;
}

// Everything the sheet must show of the take on `frames`.
void checkSheet(const std::string& svgText, ModelTake& model, const std::vector<long>& frames,
                const std::string& title) {
  XmlElement svg;
  std::string fault;
  ASSERT_TRUE(parseXml(svgText, &svg, &fault)) << fault;
  ASSERT_EQ(svg.name, "svg");
  std::vector<const XmlElement*> titles;
  svg.collect("title", &titles);
  ASSERT_EQ(titles.size(), 1u);
  EXPECT_EQ(titles[0]->text, title);

  std::vector<const XmlElement*> poses;
  for (const XmlElement& child : svg.children)
    if (child.attribute("data-frame")) poses.push_back(&child);
  ASSERT_EQ(poses.size(), frames.size());
  const double ground = -model.lowestY();
  std::string scale;
  for (size_t i = 0; i < frames.size(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(frames[i]));
    EXPECT_EQ(poses[i]->get("data-frame"), std::to_string(frames[i]));
    const std::vector<KrVec3> joints = model.at(frames[i]);
    std::vector<std::string> views;
    for (const XmlElement& view : poses[i]->children) {
      if (!view.attribute("data-view")) continue;
      const std::string name = view.get("data-view");
      views.push_back(name);
      SCOPED_TRACE(name);
      // One scale for every view of the sheet.
      const std::string transform = view.get("transform");
      const std::string viewScale = transform.substr(transform.find("scale("));
      if (scale.empty()) scale = viewScale;
      EXPECT_EQ(viewScale, scale);

      std::vector<const XmlElement*> circles, lines;
      view.collect("circle", &circles);
      view.collect("line", &lines);
      ASSERT_EQ((int)circles.size(), model.joints());
      for (int j = 0; j < model.joints(); ++j) {
        EXPECT_EQ(circles[j]->get("data-joint"), model.name(j));
        EXPECT_NEAR(number(circles[j]->get("cx")), across(name, joints[j]), kDrawnTolerance)
            << model.name(j);
        EXPECT_NEAR(number(circles[j]->get("cy")), -joints[j].y, kDrawnTolerance) << model.name(j);
      }
      // The ground line first, then a bone from each joint's parent to it.
      ASSERT_FALSE(lines.empty());
      EXPECT_NEAR(number(lines[0]->get("y1")), ground, kDrawnTolerance);
      EXPECT_NEAR(number(lines[0]->get("y2")), ground, kDrawnTolerance);
      size_t bone = 1;
      for (int j = 0; j < model.joints(); ++j) {
        const int parent = model.parent(j);
        if (parent < 0) continue;
        ASSERT_LT(bone, lines.size());
        const XmlElement& line = *lines[bone++];
        EXPECT_NEAR(number(line.get("x1")), across(name, joints[parent]), kDrawnTolerance);
        EXPECT_NEAR(number(line.get("y1")), -joints[parent].y, kDrawnTolerance);
        EXPECT_NEAR(number(line.get("x2")), across(name, joints[j]), kDrawnTolerance);
        EXPECT_NEAR(number(line.get("y2")), -joints[j].y, kDrawnTolerance);
      }
      EXPECT_EQ(bone, lines.size());
    }
    EXPECT_EQ(views, (std::vector<std::string>{"front", "side"}));
  }
}

}  // namespace

TEST(ContactSheetWriter, ACmuTakeGivesEightPosesSpreadOverItDrawnWhereTheModelPutsThem) {
  const ConvertedTake take = convertCharleston(testFolder("charleston"));
  ASSERT_EQ(draw(take, "", "sheet.svg"), 0) << readText(take.dir / "log.txt");
  ModelTake model(take);
  ASSERT_EQ(model.first(), 1);
  ASSERT_EQ(model.last(), 506);
  // Frame 1 + i * 505 / 7, rounded: 1, 73.1, 145.3, 217.4, 289.6, 361.7,
  // 433.9, 506.
  checkSheet(readText(take.dir / "sheet.svg"), model, {1, 73, 145, 217, 290, 362, 434, 506},
             "s.mel \xc2\xb7 t.mel \xc2\xb7 t.mov");

  // Drawn again, the sheet is the same to the byte.
  ASSERT_EQ(draw(take, "", "again.svg"), 0) << readText(take.dir / "log.txt");
  EXPECT_EQ(readText(take.dir / "again.svg"), readText(take.dir / "sheet.svg"));
}

TEST(ContactSheetWriter, FramesAskedForAreDrawnInTheirOrderAndFileNamesAreEscaped) {
  // File names that XML must escape, in the title.
  const ConvertedTake take =
      convertSynthetic(testFolder("synthetic"), {"", "s&<1>.mel", "t\"'.mel", "t.mov"});
  ASSERT_EQ(draw(take, "-FRAMES 9,2,62,9", "Sheet.SVG"), 0) << readText(take.dir / "log.txt");
  ModelTake model(take);
  ASSERT_EQ(model.first(), 2);
  ASSERT_EQ(model.last(), 62);
  ASSERT_EQ(model.joints(), 6);  // root, spine, arm, arm_end, leg, leg_end
  checkSheet(readText(take.dir / "Sheet.SVG"), model, {9, 2, 62, 9},
             "s&<1>.mel \xc2\xb7 t\"'.mel \xc2\xb7 t.mov");
}
