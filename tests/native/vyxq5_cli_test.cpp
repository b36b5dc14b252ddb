// vyxq5's command line: every subcommand has its own --help, and every usage error has one form and status 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/run_tool.h"

namespace {

using vyx::testing::RunVyxq5;

struct CUsageCase {
  const char* command;
  const char* wrongArguments;
};

const CUsageCase kCases[] = {
    {"options", "LnMg extra"}, {"inspect", "--frobnicate"}, {"print", "job.zpl --options X"},  // no -o
    {"discover", "--to"},                                                                      // no address
    {"send", "job.prn"},                                                                       // no --to
};

TEST(Vyxq5Cli, EverySubcommandHasItsOwnHelpAndOneErrorForm) {
  for (const CUsageCase& c : kCases) {
    SCOPED_TRACE(c.command);
    const vyx::testing::CToolRun help = RunVyxq5(std::string(c.command) + " --help", "2>/dev/null");
    EXPECT_EQ(0, help.status);
    EXPECT_NE(std::string::npos, help.out.find(std::string("vyxq5 ") + c.command)) << help.out;
    const vyx::testing::CToolRun wrong = RunVyxq5(std::string(c.command) + " " + c.wrongArguments, "2>&1 >/dev/null");
    EXPECT_EQ(2, wrong.status);
    EXPECT_EQ(0u, wrong.out.rfind(std::string("vyxq5 ") + c.command + ": ", 0)) << wrong.out;
    EXPECT_EQ(1, std::count(wrong.out.begin(), wrong.out.end(), '\n')) << wrong.out;
  }
}

TEST(Vyxq5Cli, TopLevelUsageErrors) {
  EXPECT_EQ(2, RunVyxq5("").status);
  const vyx::testing::CToolRun unknown = RunVyxq5("frobnicate", "2>&1 >/dev/null");
  EXPECT_EQ(2, unknown.status);
  EXPECT_EQ(0u, unknown.out.rfind("vyxq5: ", 0)) << unknown.out;
  const vyx::testing::CToolRun help = RunVyxq5("--help", "2>/dev/null");
  EXPECT_EQ(0, help.status);
  for (const CUsageCase& c : kCases) EXPECT_NE(std::string::npos, help.out.find(c.command)) << help.out;
}

}  // namespace
