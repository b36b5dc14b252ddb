// vyxq5 inspect: the job model of the examples as scripts see it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>
#include <sys/wait.h>

namespace {

struct CRun {
  int status = -1;
  std::string out;
};

CRun Inspect(const std::string& arguments) {
  const std::string command = std::string(VYX_BINARY_DIR) + "/bin/vyxq5 inspect " + arguments + " 2>&1";
  CRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

std::string Example(const char* name) { return std::string(VYX_SOURCE_DIR) + "/examples/" + name; }

TEST(InspectTool, TwoRibbonsInHex) {
  const CRun run = Inspect(Example("two-ribbons-hex.zpl"));
  ASSERT_EQ(0, run.status) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(400, j["header"]["width"]);
  EXPECT_EQ(1, j["page_count"]);
  const auto& fields = j["pages"][0]["fields"];
  ASSERT_EQ(2u, fields.size());
  EXPECT_EQ("Black", fields[0]["ribbon_name"]);
  EXPECT_EQ(3, fields[1]["ribbon_index"]);
  EXPECT_EQ("A", fields[1]["format"]);
  EXPECT_EQ(9, j["pages"][0]["ribbon_mask"]);
  EXPECT_EQ(j["trailer"]["start"], j["pages"][0]["span"]["end"]);
}

TEST(InspectTool, BinaryPayloadIsNotReadAsCommands) {
  const CRun run = Inspect(Example("binary-field.zpl"));
  ASSERT_EQ(0, run.status) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  const auto& fields = j["pages"][0]["fields"];
  ASSERT_EQ(2u, fields.size());
  EXPECT_EQ("B", fields[0]["format"]);
  EXPECT_EQ(1, fields[0]["ribbon_index"]);
  EXPECT_EQ(5, fields[1]["ribbon_index"]);
  EXPECT_EQ(1, j["page_count"]);
}

TEST(InspectTool, PerPageCopiesFileOverridesThePageLines) {
  CRun run = Inspect(Example("pages-and-copies.zpl"));
  ASSERT_EQ(0, run.status) << run.out;
  auto j = nlohmann::json::parse(run.out);
  ASSERT_EQ(3u, j["pages"].size());
  EXPECT_EQ(2, j["pages"][0]["copies"]);
  EXPECT_EQ(1, j["pages"][1]["copies"]);
  EXPECT_EQ(5, j["pages"][2]["copies"]);
  EXPECT_EQ(12, j["header"]["total_labels"]);
  run = Inspect("--copies " + Example("PerPageCopies_42.dat") + " " + Example("pages-and-copies.zpl"));
  ASSERT_EQ(0, run.status) << run.out;
  j = nlohmann::json::parse(run.out);
  EXPECT_EQ(4, j["pages"][0]["copies"]);
  EXPECT_EQ(1, j["pages"][1]["copies"]);
  EXPECT_EQ(5, j["pages"][2]["copies"]);  // beyond the table's two entries
}

TEST(InspectTool, StepsKnockOutAndMerge) {
  const CRun run = Inspect("--steps 0 " + Example("two-ribbons-hex.zpl"));
  ASSERT_EQ(0, run.status) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_GT(j["steps"]["knocked_out_pixels"].get<int>(), 0);
  const CRun nonPunch = Inspect("--steps 8 " + Example("two-ribbons-hex.zpl"));
  ASSERT_EQ(0, nonPunch.status) << nonPunch.out;
  EXPECT_EQ(0, nlohmann::json::parse(nonPunch.out)["steps"]["knocked_out_pixels"]);
}

TEST(InspectTool, ReadsStandardInputAndRefusesBadArguments) {
  const CRun run = Inspect("- < " + Example("two-ribbons-hex.zpl"));
  ASSERT_EQ(0, run.status) << run.out;
  EXPECT_EQ(1, nlohmann::json::parse(run.out)["page_count"]);
  EXPECT_EQ(2, Inspect("").status);
  EXPECT_EQ(2, Inspect("/nonexistent/job.zpl").status);
  EXPECT_EQ(2, Inspect("--steps x " + Example("two-ribbons-hex.zpl")).status);
  EXPECT_EQ(2, Inspect("/dev/null").status);  // no data: "file load failed !"
}

}  // namespace
