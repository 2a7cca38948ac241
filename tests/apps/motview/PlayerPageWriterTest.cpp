// The page that plays a take, as a user gets it from motview: it holds
// every step-th frame of the take in hundredths of an inch and names
// nothing outside itself; opened in headless Chromium at #frame=N it draws
// every joint of the frame shown (N, or the embedded frame before it)
// where the Raro model puts it, in the front view, and the browser makes
// no request on its behalf. The browser cases skip, saying so, where
// Chromium is not installed.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/apps/motview/MotviewTestTakes.h"
#include "tests/apps/motview/XmlDocument.h"

using namespace motviewtest;

namespace {

// $RC_CHROMIUM, else chromium on PATH; empty when there is none.
std::string findChromium() {
  if (const char* given = std::getenv("RC_CHROMIUM")) return given;
  FILE* found = popen("command -v chromium 2>/dev/null", "r");
  if (!found) return "";
  char path[4096] = "";
  const bool got = std::fgets(path, sizeof path, found) != nullptr;
  pclose(found);
  std::string text = got ? path : "";
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string fileUrl(const fs::path& path) {
  std::string url = "file://";
  for (unsigned char c : fs::absolute(path).string()) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", c);
    url += plain ? std::string(1, (char)c) : std::string(escaped);
  }
  return url;
}

// What headless Chromium made of a page: the document after its scripts
// ran, and the browser's network log.
struct Opened {
  std::string dom;
  std::string netLog;
};

Opened openInChromium(const std::string& chromium, const fs::path& dir, const std::string& url) {
  static int run = 0;
  // A browser that could not start (a busy machine) leaves no document at
  // all; it gets a second try. A document, right or wrong, is never run
  // again.
  for (int attempt = 0;; ++attempt) {
    const std::string n = std::to_string(++run);
    const fs::path profile = dir / ("profile-" + n);
    const fs::path dom = dir / ("dom-" + n + ".html");
    const fs::path net = dir / ("net-" + n + ".json");
    fs::remove_all(profile);
    const std::string command =
        shellQuoted(chromium) +
        " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
        " --disable-background-networking --disable-component-update --disable-sync"
        " --virtual-time-budget=5000 --user-data-dir=" +
        shellQuoted(profile.string()) + " --log-net-log=" + shellQuoted(net.string()) +
        " --dump-dom " + shellQuoted(url) + " > " + shellQuoted(dom.string()) + " 2> /dev/null";
    const int status = std::system(command.c_str());
    fs::remove_all(profile);
    Opened opened{readText(dom), readText(net)};
    if (!opened.dom.empty() || attempt == 1) {
      EXPECT_EQ(status, 0) << command;
      return opened;
    }
  }
}

// The requests the network log shows a document making: Chromium's own
// carry the initiator "not an origin"; a page's carry its origin ("null"
// for a file) and a network isolation key of its site.
std::vector<std::string> pageRequests(const std::string& netLog) {
  std::vector<std::string> urls;
  size_t start = 0;
  while (start < netLog.size()) {
    size_t end = netLog.find('\n', start);
    if (end == std::string::npos) end = netLog.size();
    const std::string line = netLog.substr(start, end - start);
    start = end + 1;
    const size_t initiator = line.find("\"initiator\":\"");
    const bool ownRequest = line.find("\"initiator\":\"not an origin\"") != std::string::npos;
    const bool fileSite = line.find("\"network_isolation_key\":\"file://") != std::string::npos;
    if ((initiator == std::string::npos || ownRequest) && !fileSite) continue;
    const size_t url = line.find("\"url\":\"");
    urls.push_back(url == std::string::npos ? line
                                            : line.substr(url, line.find('"', url + 7) - url));
  }
  return urls;
}

// The page's stage as the browser serialised it.
XmlElement stageOf(const std::string& dom) {
  XmlElement stage;
  const size_t begin = dom.find("<svg id=\"stage\"");
  const size_t end = dom.find("</svg>", begin);
  EXPECT_NE(begin, std::string::npos);
  EXPECT_NE(end, std::string::npos);
  if (begin == std::string::npos || end == std::string::npos) return stage;
  std::string fault;
  EXPECT_TRUE(parseXml(dom.substr(begin, end + 6 - begin), &stage, &fault)) << fault;
  return stage;
}

// The numbers of the page's JSON array "key":[...].
std::vector<long> jsonNumbers(const std::string& page, const std::string& key) {
  std::vector<long> numbers;
  size_t at = page.find("\"" + key + "\":[");
  EXPECT_NE(at, std::string::npos) << key;
  if (at == std::string::npos) return numbers;
  const char* p = page.c_str() + at + key.size() + 4;
  while (*p && *p != ']') {
    char* end = nullptr;
    numbers.push_back(std::strtol(p, &end, 10));
    p = *end == ',' ? end + 1 : end;
  }
  return numbers;
}

long jsonNumber(const std::string& page, const std::string& key) {
  const size_t at = page.find("\"" + key + "\":");
  EXPECT_NE(at, std::string::npos) << key;
  return at == std::string::npos ? 0 : std::strtol(page.c_str() + at + key.size() + 3, nullptr, 10);
}

// What a page names outside itself: any attribute that loads, any style or
// script call that fetches, any address but the SVG namespace's name.
void expectNothingFromOutside(std::string page) {
  const std::string svgNamespace = "http://www.w3.org/2000/svg";
  for (size_t at; (at = page.find(svgNamespace)) != std::string::npos;)
    page.erase(at, svgNamespace.size());
  for (const char* loader :
       {"src=", "href=", "url(", "@import", "fetch(", "XMLHttpRequest", "WebSocket", "EventSource",
        "<link", "<iframe", "<object", "<embed", "import(", "http:", "https:"})
    EXPECT_EQ(page.find(loader), std::string::npos) << loader;
  EXPECT_NE(page.find("<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none';"),
            std::string::npos);
}

// The shown frame's joints and bones, checked against the model.
void checkStage(const XmlElement& stage, ModelTake& model, long shown) {
  EXPECT_EQ(stage.get("data-view"), "front");
  ASSERT_EQ(stage.get("data-frame"), std::to_string(shown));
  const std::vector<KrVec3> joints = model.at(shown);
  std::vector<const XmlElement*> circles, lines;
  stage.collect("circle", &circles);
  stage.collect("line", &lines);
  ASSERT_EQ((int)circles.size(), model.joints());
  size_t bone = 0;
  for (int j = 0; j < model.joints(); ++j) {
    EXPECT_EQ(circles[j]->get("data-joint"), model.name(j));
    EXPECT_NEAR(number(circles[j]->get("cx")), joints[j].x, kDrawnTolerance) << model.name(j);
    EXPECT_NEAR(number(circles[j]->get("cy")), -joints[j].y, kDrawnTolerance) << model.name(j);
    const int parent = model.parent(j);
    if (parent < 0) continue;
    ASSERT_LT(bone, lines.size());
    const XmlElement& line = *lines[bone++];
    EXPECT_NEAR(number(line.get("x1")), joints[parent].x, kDrawnTolerance);
    EXPECT_NEAR(number(line.get("y1")), -joints[parent].y, kDrawnTolerance);
    EXPECT_NEAR(number(line.get("x2")), joints[j].x, kDrawnTolerance);
    EXPECT_NEAR(number(line.get("y2")), -joints[j].y, kDrawnTolerance);
  }
  EXPECT_EQ(bone, lines.size());
}

struct PageCase {
  ConvertedTake take;
  int step;
  // Scene frames to open the page at, and the frame each must show.
  std::vector<std::pair<long, long>> frames;
};

}  // namespace

TEST(PlayerPageWriter, ThePageHoldsEveryStepthFrameInHundredthsAndNamesNothingOutside) {
  const ConvertedTake take = convertSynthetic(testFolder("synthetic"));
  ASSERT_EQ(draw(take, "-step 4", "Page.HTML"), 0) << readText(take.dir / "log.txt");
  const std::string page = readText(take.dir / "Page.HTML");
  ModelTake model(take);
  EXPECT_EQ(jsonNumber(page, "fps"), 60);
  EXPECT_EQ(jsonNumber(page, "first"), 2);
  EXPECT_EQ(jsonNumber(page, "step"), 4);
  // Frames 2, 6, ..., 62: sixteen of the 61.
  ASSERT_EQ(jsonNumber(page, "frames"), 16);
  const std::vector<long> p = jsonNumbers(page, "p");
  ASSERT_EQ(p.size(), 16u * model.joints() * 3);
  for (int k = 0; k < 16; ++k) {
    const std::vector<KrVec3> joints = model.at(2 + 4 * k);
    for (int j = 0; j < model.joints(); ++j) {
      const long* xyz = &p[((size_t)k * model.joints() + j) * 3];
      EXPECT_NEAR(xyz[0] / 100.0, joints[j].x, kDrawnTolerance) << k << " " << model.name(j);
      EXPECT_NEAR(xyz[1] / 100.0, joints[j].y, kDrawnTolerance) << k << " " << model.name(j);
      EXPECT_NEAR(xyz[2] / 100.0, joints[j].z, kDrawnTolerance) << k << " " << model.name(j);
    }
  }
  EXPECT_EQ(jsonNumber(page, "ground"), std::lround(model.lowestY() * 100));
  expectNothingFromOutside(page);

  // Drawn again, the page is the same to the byte.
  ASSERT_EQ(draw(take, "-step 4", "again.html"), 0);
  EXPECT_EQ(readText(take.dir / "again.html"), page);
}

TEST(PlayerPageWriter, ChromiumDrawsEveryJointOfTheFrameInTheAddressWhereTheModelPutsIt) {
  const std::string chromium = findChromium();
  if (chromium.empty())
    GTEST_SKIP() << "Chromium is not installed (no chromium on PATH, RC_CHROMIUM unset): the "
                    "page is not opened in a browser here.";
  std::vector<PageCase> cases;
  // Every frame of the CMU take embedded: each opens as itself.
  cases.push_back(
      {convertCharleston(testFolder("charleston")), 1, {{1, 1}, {250, 250}, {506, 506}}});
  // Every third frame of 2..62: 9 is not embedded and shows 8; a frame
  // before the take shows its first, one after it its last embedded (62).
  cases.push_back({convertSynthetic(testFolder("synthetic")), 3, {{9, 8}, {0, 2}, {99, 62}}});
  for (const PageCase& c : cases) {
    SCOPED_TRACE(c.take.dir.filename().string());
    ASSERT_EQ(draw(c.take, "-step " + std::to_string(c.step), "take.html"), 0)
        << readText(c.take.dir / "log.txt");
    ModelTake model(c.take);
    for (const auto& frame : c.frames) {
      SCOPED_TRACE("#frame=" + std::to_string(frame.first));
      const Opened opened = openInChromium(
          chromium, c.take.dir,
          fileUrl(c.take.dir / "take.html") + "#frame=" + std::to_string(frame.first));
      checkStage(stageOf(opened.dom), model, frame.second);
      // The browser logged its network, and nothing in it was the page's.
      EXPECT_NE(opened.netLog.find("\"constants\""), std::string::npos);
      EXPECT_EQ(pageRequests(opened.netLog), std::vector<std::string>{});
    }
  }
}

TEST(PlayerPageWriter, TheNetworkCheckSeesARequestAPageMakes) {
  const std::string chromium = findChromium();
  if (chromium.empty())
    GTEST_SKIP() << "Chromium is not installed (no chromium on PATH, RC_CHROMIUM unset).";
  // A page that loads an image from this machine (nothing listens on port
  // 9, the discard port): the check above must see that request.
  const fs::path dir = testFolder("probe");
  writeText(
      dir / "probe.html",
      "<!DOCTYPE html><html><body><img src=\"http://127.0.0.1:9/probe.png\"></body></html>\n");
  const Opened opened = openInChromium(chromium, dir, fileUrl(dir / "probe.html"));
  const std::vector<std::string> requests = pageRequests(opened.netLog);
  ASSERT_FALSE(requests.empty());
  EXPECT_NE(requests[0].find("http://127.0.0.1:9/probe.png"), std::string::npos) << requests[0];
}
