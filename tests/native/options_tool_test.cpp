// vyxq5 options: what scripts see of the parser (JSON on success, the diagnostic and status 1 on a refusal).
#include <gtest/gtest.h>
#include "tests/support/run_tool.h"

#include <cstdio>
#include <string>

#include <sys/wait.h>

namespace {

using CRun = vyx::testing::CToolRun;

// Runs the tool with one argument (quoted for the shell) and collects standard output and error.
CRun RunTool(const std::string& argument) {
  return vyx::testing::RunVyxq5("options " + vyx::testing::ShellQuote(argument));
}

TEST(OptionsTool, PrintsTheRecordAsJson) {
  const CRun run = RunTool("PrSlWsPn3;10;20;30;4;OrUmEcUeUcNcLmUoUhTc");
  ASSERT_EQ(0, run.status) << run.out;
  EXPECT_EQ(
      "{\"orientation\":1,\"show_main_window\":0,\"code3\":0,\"black_punches\":1,\"ribbon_selection\":3,"
      "\"margin_x\":10,\"margin_y\":20,\"corner_radius\":30,\"labels_per_set\":4,\"optimised_size\":0,"
      "\"automatic_margins\":0,\"centre_pages\":0,\"automatic_outline\":0,\"automatic_corner_radius\":0,"
      "\"outline_every_page\":0,\"laminate\":1,\"automatic_gap\":0,\"automatic_darkness\":0,\"tape_cut_sets\":1}\n",
      run.out);
}

TEST(OptionsTool, RefusedStringGivesTheDiagnosticAndStatusOne) {
  const CRun run = RunTool("LnMgSvBx0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt");
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("Wrong parameter syntax! Please uninstall and reinstall!\nLnMgSvBx0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt\n",
            run.out);
}

TEST(OptionsTool, MalformedUtf8IsAUsageError) {
  EXPECT_EQ(2, RunTool("LnMg\xC3").status);
  EXPECT_EQ(2, RunTool("\xED\xA0\x80").status);  // an encoded surrogate
}

}  // namespace
