// Runs the native tool vyxq5 from the build tree through the shell and collects what it prints and its status.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace vyx::testing {

struct CToolRun {
  int status = -1;  // the exit status, -1 when the tool did not exit normally
  std::string out;
};

// One shell word for any text.
inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// "vyxq5 <arguments> <redirect>": by default standard error joins the output; "2>&1 >/dev/null" keeps only it.
inline CToolRun RunVyxq5(const std::string& arguments, const char* redirect = "2>&1") {
  const std::string command = std::string(VYX_BINARY_DIR) + "/bin/vyxq5 " + arguments + " " + redirect;
  CToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

}  // namespace vyx::testing
