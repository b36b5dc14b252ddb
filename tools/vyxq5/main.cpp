// vyxq5: dispatches to the subcommands.
#include <cstdio>
#include <cstring>

#include "tools/vyxq5/commands.h"

namespace vyxq5 {

int FailUsage(const std::string& message) {
  std::fprintf(stderr, "vyxq5: %s\n", message.c_str());
  return kExitUsage;
}

namespace {

const Command kCommands[] = {
    {"--version", "vyxq5 --version", [](const Args&) {
       std::printf("vyxq5 %s\n", VYX_VERSION);
       return 0;
     }},
    {"options", "vyxq5 options STR", RunOptions},
    {"inspect",
     "vyxq5 inspect JOB [--tag TAG] [--copies FILE] [--catalogue FILE] [--options STR] [--steps] [--bitmaps]",
     RunInspect},
    {"print",
     "vyxq5 print JOB --options STR [--tag TAG] [--catalogue FILE] [--copies FILE] [--tape N] [--darkness N] [--yes] "
     "-o OUT",
     RunPrint},
};

int PrintUsage(FILE* to) {
  std::fprintf(to, "usage:\n");
  for (const Command& c : kCommands) std::fprintf(to, "  %s\n", c.usage);
  return to == stdout ? 0 : kExitUsage;
}

}  // namespace
}  // namespace vyxq5

int main(int argc, char** argv) {
  using namespace vyxq5;
  if (argc < 2) return PrintUsage(stderr);
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) return PrintUsage(stdout);
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(Args(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "vyxq5: unknown command '%s'\n", argv[1]);
  return PrintUsage(stderr);
}
