// vyxq5 inspect: the job model of the examples as scripts see it.
#include <gtest/gtest.h>
#include "tests/support/run_tool.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

namespace {

using CRun = vyx::testing::CToolRun;

CRun Inspect(const std::string& arguments) {
  return vyx::testing::RunVyxq5("inspect " + arguments);
}

std::string Example(const char* name) {
  return std::string(VYX_SOURCE_DIR) + "/examples/" + name;
}

TEST(InspectTool, TwoRibbonsInHexWithExactlyTheDocumentedKeys) {
  const CRun run = Inspect(Example("two-ribbons-hex.zpl"));
  ASSERT_EQ(0, run.status) << run.out;
  const auto j = nlohmann::ordered_json::parse(run.out);  // keeps the printed key order
  std::vector<std::string> keys;
  for (const auto& [k, v] : j.items()) keys.push_back(k);
  EXPECT_EQ((std::vector<std::string>{"bytes", "header", "pages"}), keys);
  keys.clear();
  for (const auto& [k, v] : j["header"].items()) keys.push_back(k);
  EXPECT_EQ((std::vector<std::string>{"width", "length", "home_x", "home_y", "total_labels", "rows", "row_gap",
                                      "columns", "column_gap", "rsr", "darkness", "labels_across"}),
            keys);
  EXPECT_EQ(400, j["header"]["width"]);
  EXPECT_EQ(3, j["header"]["labels_across"]);
  ASSERT_EQ(1u, j["pages"].size());
  const auto& page = j["pages"][0];
  keys.clear();
  for (const auto& [k, v] : page.items()) keys.push_back(k);
  EXPECT_EQ((std::vector<std::string>{"copies", "copy_index", "ribbon_mask", "bounds", "change_counter", "cut_travel",
                                      "fields", "cuts"}),
            keys);
  EXPECT_EQ(9, page["ribbon_mask"]);
  EXPECT_TRUE(page["cuts"].empty());
  const auto& fields = page["fields"];
  ASSERT_EQ(2u, fields.size());
  keys.clear();
  for (const auto& [k, v] : fields[0].items()) keys.push_back(k);
  EXPECT_EQ((std::vector<std::string>{"type", "ribbon", "name", "format", "extent", "ink", "pixels", "bytes_per_row",
                                      "total_bytes"}),
            keys);
  EXPECT_EQ(3, fields[0]["type"]);
  EXPECT_EQ("Black", fields[0]["name"]);
  EXPECT_EQ(3, fields[1]["ribbon"]);
  EXPECT_EQ("A", fields[1]["format"]);
  EXPECT_EQ(nlohmann::ordered_json::parse("[20,20,260,140]"), fields[0]["extent"]);
  EXPECT_EQ(nlohmann::ordered_json::parse("[20,20,260,140]"), fields[0]["ink"]);
  EXPECT_EQ(nlohmann::ordered_json::parse("[20,20,263,153]"), page["bounds"]);
}

TEST(InspectTool, BinaryPayloadIsNotReadAsCommands) {
  const CRun run = Inspect(Example("binary-field.zpl"));
  ASSERT_EQ(0, run.status) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  ASSERT_EQ(1u, j["pages"].size());
  const auto& fields = j["pages"][0]["fields"];
  ASSERT_EQ(2u, fields.size());
  EXPECT_EQ("B", fields[0]["format"]);
  EXPECT_EQ(1, fields[0]["ribbon"]);
  EXPECT_EQ(5, fields[1]["ribbon"]);
  EXPECT_EQ(34, j["pages"][0]["ribbon_mask"]);
}

TEST(InspectTool, PerPageCopiesFileOverridesThePageLines) {
  CRun run = Inspect(Example("pages-and-copies.zpl"));
  ASSERT_EQ(0, run.status) << run.out;
  auto j = nlohmann::json::parse(run.out);
  ASSERT_EQ(3u, j["pages"].size());
  EXPECT_EQ(2, j["pages"][0]["copies"]);
  EXPECT_EQ(1, j["pages"][1]["copies"]);
  EXPECT_EQ(5, j["pages"][2]["copies"]);
  EXPECT_EQ(0, j["pages"][2]["copy_index"]);
  EXPECT_EQ(12, j["header"]["total_labels"]);
  run = Inspect(Example("pages-and-copies.zpl") + " --tag 42_x --copies " + Example("PerPageCopies_42.dat"));
  ASSERT_EQ(0, run.status) << run.out;
  j = nlohmann::json::parse(run.out);
  EXPECT_EQ(4, j["pages"][0]["copies"]);
  EXPECT_EQ(1, j["pages"][1]["copies"]);
  EXPECT_EQ(5, j["pages"][2]["copies"]);  // beyond the table's two entries
}

TEST(InspectTool, StepsKnockOutAndMergeAndBitmapsShowTheRows) {
  const CRun run = Inspect(Example("two-ribbons-hex.zpl") + " --steps --bitmaps");
  ASSERT_EQ(0, run.status) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(0, j["merges"]);
  const auto& black = j["pages"][0]["fields"][0];
  const CRun plain = Inspect(Example("two-ribbons-hex.zpl"));
  const auto before = nlohmann::json::parse(plain.out)["pages"][0]["fields"][0];
  EXPECT_LT(black["pixels"].get<int>(), before["pixels"].get<int>());  // the red disc punched the frame
  ASSERT_EQ(120u, black["rows"].size());
  EXPECT_EQ(std::string(240, '1'), black["rows"][0]);
  EXPECT_EQ("111111" + std::string(228, '0') + "111111", black["rows"][60]);
  EXPECT_FALSE(nlohmann::json::parse(plain.out).contains("merges"));
}

TEST(InspectTool, UnsetCoordinatesStayRaw) {
  char path[] = "/tmp/vyx_inspect_XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  const std::string text = "^XA\r\n^RR1,K\r\n^FO0,0\r\n^GFA,1,1,1,00\r\n^XPG1,1\r\n^XZ\r\n";
  ASSERT_EQ(static_cast<ssize_t>(text.size()), write(fd, text.data(), text.size()));
  close(fd);
  const CRun run = Inspect(path);
  unlink(path);
  ASSERT_EQ(0, run.status) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(-111111111, j["header"]["home_x"]);
  EXPECT_EQ(nlohmann::json::parse("[-111111111,-111111111,-111111111,-111111111]"), j["pages"][0]["fields"][0]["ink"]);
  EXPECT_EQ(0, j["pages"][0]["fields"][0]["pixels"]);
}

TEST(InspectTool, BitmapsShowOnlyTheRowsThatTheDataReaches) {
  // 2000 rows of 8000 dots declared, 18 characters of data present: one row of 72 dots.
  char path[] = "/tmp/vyx_inspect_XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  const std::string text = "^XA\r\n^RR1,K\r\n^FO0,0\r\n^GFA,2000000,2000000,1000,FF\r\n^XPG1,1\r\n^XZ\r\n";
  ASSERT_EQ(static_cast<ssize_t>(text.size()), write(fd, text.data(), text.size()));
  close(fd);
  const CRun run = Inspect(std::string(path) + " --steps --bitmaps");
  unlink(path);
  ASSERT_EQ(0, run.status) << run.out.substr(0, 200);
  EXPECT_LT(run.out.size(), 2000u);
  const auto rows = nlohmann::json::parse(run.out)["pages"][0]["fields"][0]["rows"];
  ASSERT_EQ(1u, rows.size());
  // "FF", then "\r\n^XPG", "1", ",", "1" and "\r\n^XZ\r\n" read as hexadecimal digits.
  EXPECT_EQ("11111111" + std::string(24, '0') + "0001" + "0000" + "0001" + std::string(28, '0'), rows[0]);
}

TEST(InspectTool, RefusesUnreadableFilesAndBadArguments) {
  EXPECT_EQ(2, Inspect("").status);
  const CRun missing = Inspect("/nonexistent/job.zpl");
  EXPECT_EQ(2, missing.status);
  EXPECT_EQ(1, std::count(missing.out.begin(), missing.out.end(), '\n'));
  EXPECT_EQ(2, Inspect("/tmp").status);  // a folder cannot be read
  EXPECT_EQ(2, Inspect(Example("two-ribbons-hex.zpl") + " --copies /nonexistent/copies.dat").status);
  EXPECT_EQ(2, Inspect(Example("two-ribbons-hex.zpl") + " --tag").status);
  EXPECT_EQ(2, Inspect(Example("two-ribbons-hex.zpl") + " --frobnicate").status);
  const CRun empty = Inspect("/dev/null");
  ASSERT_EQ(0, empty.status) << empty.out;
  EXPECT_EQ(0, nlohmann::json::parse(empty.out)["bytes"]);
}

}  // namespace
