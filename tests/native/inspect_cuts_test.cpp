// vyxq5 inspect lists a page's pen paths under "cuts" with their stroke values.
#include <gtest/gtest.h>
#include "tests/support/run_tool.h"

#include <cstdio>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <nlohmann/json.hpp>

namespace {

std::string InspectOutput(const std::string& file, int& status) {
  const vyx::testing::CToolRun run = vyx::testing::RunVyxq5("inspect " + file);
  status = run.status;
  return run.out;
}

// The cut with the given first point (the cut order is by travel, not by stream order).
nlohmann::ordered_json CutStartingAt(const nlohmann::ordered_json& cuts, int x, int y) {
  for (const auto& c : cuts) {
    if (c["first"] == nlohmann::ordered_json::array({x, y})) return c;
  }
  return nullptr;
}

TEST(InspectCuts, EveryPathOfThePageWithItsStrokeValues) {
  int status = -1;
  const std::string out = InspectOutput(std::string(VYX_SOURCE_DIR) + "/examples/pen-paths.zpl", status);
  ASSERT_EQ(0, status) << out;
  const auto j = nlohmann::ordered_json::parse(out);
  ASSERT_EQ(1u, j["pages"].size());
  const auto& cuts = j["pages"][0]["cuts"];
  ASSERT_EQ(4u, cuts.size());

  std::vector<std::string> keys;
  for (const auto& [k, v] : cuts[0].items()) keys.push_back(k);
  EXPECT_EQ((std::vector<std::string>{"type", "first", "last", "points", "closed", "beziers", "ink"}), keys);

  // A closed rectangle of 300 x 150 dots.
  EXPECT_EQ(nlohmann::ordered_json::parse(R"({"type":6,"first":[0,0],"last":[0,0],"points":5,"closed":1,
                                              "beziers":0,"ink":[0,0,301,151]})"),
            CutStartingAt(cuts, 0, 0));
  // A circle of four Bezier quarters (radius 400 quarter dots around (800,800)) flattened into 18 points each.
  EXPECT_EQ(nlohmann::ordered_json::parse(R"({"type":9,"first":[1200,800],"last":[1200,800],"points":73,
                                              "closed":1,"beziers":4,"ink":[100,100,301,301]})"),
            CutStartingAt(cuts, 1200, 800));
  // An open stroke.
  EXPECT_EQ(nlohmann::ordered_json::parse(R"({"type":6,"first":[100,1400],"last":[500,1500],"points":3,
                                              "closed":0,"beziers":0,"ink":[25,350,126,376]})"),
            CutStartingAt(cuts, 100, 1400));
  // A Bezier line with four numbers: a curve whose segment was dropped.
  EXPECT_EQ(nlohmann::ordered_json::parse(R"({"type":9,"first":[10,10],"last":[50,30],"points":2,"closed":0,
                                              "beziers":1,"ink":[3,3,14,9]})"),
            CutStartingAt(cuts, 10, 10));
}

}  // namespace
