// The subcommands of vyxq5; each lives in its own cmd_*.cpp and returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace vyxq5 {

using Args = std::vector<std::string>;  // the words after the subcommand name

struct Command {
  const char* name;
  const char* usage;
  int (*run)(const Args& args);
};

// Exit status for unreadable input or wrong arguments, with a one-line message on standard error.
constexpr int kExitUsage = 2;
int FailUsage(const std::string& message);

int RunOptions(const Args& args);
int RunInspect(const Args& args);
int RunPrint(const Args& args);

}  // namespace vyxq5
