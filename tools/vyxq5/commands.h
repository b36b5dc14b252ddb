// The subcommands of vyxq5: each lives in its own cmd_*.cpp, declares its arguments on a CLI11 subcommand and
// returns the process exit status when it runs. main.cpp lists them in one table.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

namespace vyxq5 {

// Exit statuses: 1 when the work itself fails, 2 for wrong arguments or unreadable input.
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// The tool's subcommands. Add declares one: its arguments go onto the returned CLI11 subcommand (bound to
// variables the run function can reach), and `run` is called with nothing else once parsing succeeded.
class CCommandSet {
 public:
  explicit CCommandSet(CLI::App& root) : m_root(root) {}
  CLI::App& Add(const std::string& name, const std::string& description, std::function<int()> run);
  // Parses the command line and runs the chosen subcommand; returns the exit status.
  int Run(int argc, char** argv);

 private:
  struct CEntry {
    CLI::App* app;
    std::function<int()> run;
  };
  CLI::App& m_root;
  std::vector<CEntry> m_entries;
};

// The one error form of every subcommand: "vyxq5 <command>: <message>" as one line on standard error. Each
// returns its exit status.
int FailUsage(std::string_view command, const std::string& message);
int Fail(std::string_view command, const std::string& message);

void AddOptionsCommand(CCommandSet& commands);
void AddInspectCommand(CCommandSet& commands);
void AddPrintCommand(CCommandSet& commands);
void AddDiscoverCommand(CCommandSet& commands);
void AddSendCommand(CCommandSet& commands);
void AddPreviewCommand(CCommandSet& commands);

}  // namespace vyxq5
