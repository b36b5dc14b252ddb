// vyxq5 inspect with --catalogue and --options: consolidation before the page steps, outcomes, marks and contact
// scores, and the Pn flag's effect on the knock-out.
#include <gtest/gtest.h>
#include "tests/support/run_tool.h"

#include <cstdio>
#include <fstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include "tests/support/job_builder.h"

namespace {

using vyx::testing::Bitmap;

using CRun = vyx::testing::CToolRun;

CRun Inspect(const std::string& arguments) {
  return vyx::testing::RunVyxq5("inspect " + arguments);
}

std::string Catalogue() {
  return std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini";
}

std::string WriteTemp(const std::string& name, const std::string& text) {
  const std::string path = ::testing::TempDir() + "/" + std::to_string(getpid()) + "-" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// In the sample catalogue ribbon 0 is Black (non-punch), 5 Red, 4 Yellow.
std::string SplitJob() {
  auto block = [](int x0, int x1) {
    return Bitmap::FromPredicate(64, 64, [=](int x, int) { return x >= x0 && x < x1; });
  };
  const Bitmap trace = Bitmap::FromPredicate(
      64, 64, [](int x, int y) { return (x == 10 && y == 10) || (x == 12 && y == 20) || (x == 50 && y == 10); });
  return vyx::testing::Header() + vyx::testing::Field(0, "BLACK", 0, 0, block(0, 32)) +
         vyx::testing::Field(5, "RED", 0, 0, block(32, 64)) + vyx::testing::Field(4, "YELLOW", 0, 0, trace) +
         vyx::testing::PageEnd(1, 1) + vyx::testing::Trailer();
}

TEST(InspectColours, StepsConsolidateFirstAndShowOutcomesMarksAndContactScores) {
  const std::string job = WriteTemp("split.zpl", SplitJob());
  const CRun run = Inspect(job + " --catalogue " + Catalogue() + " --steps");
  ASSERT_EQ(0, run.status) << run.out;
  const auto j = nlohmann::ordered_json::parse(run.out);
  ASSERT_EQ(32u, j["outcomes"].size());
  EXPECT_EQ(33, j["outcomes"][4]);  // yellow split over black and red
  EXPECT_EQ(-1, j["outcomes"][0]);
  EXPECT_EQ(-1, j["outcomes"][5]);
  EXPECT_EQ(0, j["outcomes"][7]);
  const auto& page = j["pages"][0];
  EXPECT_EQ(1, page["change_counter"]);
  const auto& fields = page["fields"];
  ASSERT_EQ(4u, fields.size());
  EXPECT_EQ(0, fields[0]["mark"]);
  EXPECT_FALSE(fields[0].contains("contact_score"));
  EXPECT_EQ(5, fields[2]["type"]);
  EXPECT_EQ(0, fields[2]["ribbon"]);
  EXPECT_EQ(1, fields[2]["mark"]);
  EXPECT_EQ(18, fields[2]["contact_score"]);  // two trace pixels inside the black block, 9 neighbours each
  EXPECT_EQ(5, fields[3]["ribbon"]);
  EXPECT_EQ(9, fields[3]["contact_score"]);
  EXPECT_EQ(2, fields[2]["pixels"]);
  EXPECT_EQ(1, fields[3]["pixels"]);
}

TEST(InspectColours, WithoutStepsTheCatalogueOnlyAddsTheKeys) {
  const std::string job = WriteTemp("plain.zpl", SplitJob());
  const CRun run = Inspect(job + " --catalogue " + Catalogue());
  ASSERT_EQ(0, run.status) << run.out;
  const auto j = nlohmann::ordered_json::parse(run.out);
  EXPECT_EQ(3u, j["pages"][0]["fields"].size());
  EXPECT_EQ(0, j["outcomes"][4]);
  EXPECT_EQ(0, j["pages"][0]["fields"][2]["mark"]);
}

TEST(InspectColours, PnFlagLetsBlackPunchTheColoursBelow) {
  // Red first, black over its lower right quarter; different extents, so no colour group.
  const Bitmap full = Bitmap::FromPredicate(16, 16, [](int, int) { return true; });
  const std::string job = WriteTemp("punch.zpl", vyx::testing::Header() + vyx::testing::Field(5, "RED", 0, 0, full) +
                                                     vyx::testing::Field(0, "BLACK", 8, 8, full) +
                                                     vyx::testing::PageEnd(1, 1) + vyx::testing::Trailer());
  const CRun over = Inspect(job + " --catalogue " + Catalogue() + " --steps");
  ASSERT_EQ(0, over.status) << over.out;
  EXPECT_EQ(256, nlohmann::json::parse(over.out)["pages"][0]["fields"][0]["pixels"]);
  const CRun punch =
      Inspect(job + " --catalogue " + Catalogue() + " --options 'LnMgSvPn0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt' --steps");
  ASSERT_EQ(0, punch.status) << punch.out;
  EXPECT_EQ(256 - 64, nlohmann::json::parse(punch.out)["pages"][0]["fields"][0]["pixels"]);
}

TEST(InspectColours, UnreadableCatalogueOrOptionsExitWithTwo) {
  const std::string job = WriteTemp("bad.zpl", SplitJob());
  const CRun missing = Inspect(job + " --catalogue /nonexistent/VyxQ5Colors.ini --steps");
  EXPECT_EQ(2, missing.status);
  EXPECT_NE(std::string::npos, missing.out.find("catalogue")) << missing.out;
  const CRun options = Inspect(job + " --catalogue " + Catalogue() + " --options Xx");
  EXPECT_EQ(2, options.status);
  EXPECT_EQ(2, Inspect(job + " --catalogue").status);
}

}  // namespace
