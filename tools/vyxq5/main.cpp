// vyxq5: the subcommand table, argument parsing and the one error form.
#include <cstdio>
#include <iostream>

#include "tools/vyxq5/commands.h"

namespace vyxq5 {

namespace {

// One line per subcommand; each adds itself with its arguments.
void (*const kCommands[])(CCommandSet&) = {
    AddOptionsCommand, AddInspectCommand, AddPrintCommand, AddDiscoverCommand, AddSendCommand, AddPreviewCommand,
};

int Report(std::string_view command, const std::string& message, int status) {
  std::fprintf(stderr, "vyxq5%s%.*s: %s\n", command.empty() ? "" : " ", static_cast<int>(command.size()),
               command.data(), message.c_str());
  return status;
}

}  // namespace

int FailUsage(std::string_view command, const std::string& message) {
  return Report(command, message, kExitUsage);
}

int Fail(std::string_view command, const std::string& message) {
  return Report(command, message, kExitFailure);
}

CLI::App& CCommandSet::Add(const std::string& name, const std::string& description, std::function<int()> run) {
  CLI::App* app = m_root.add_subcommand(name, description);
  m_entries.push_back({app, std::move(run)});
  return *app;
}

int CCommandSet::Run(int argc, char** argv) {
  try {
    m_root.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return m_root.exit(e, std::cout, std::cerr);  // --help of any subcommand, --version
  } catch (const CLI::ParseError& e) {
    // The error names the innermost subcommand that was given, so the message says which usage to look up.
    std::string command;
    for (const CEntry& entry : m_entries)
      if (entry.app->parsed()) command = entry.app->get_name();
    const std::string help = command.empty() ? "vyxq5 --help" : "vyxq5 " + command + " --help";
    return FailUsage(command, std::string(e.what()) + " (see " + help + ")");
  }
  for (const CEntry& entry : m_entries)
    if (entry.app->parsed()) return entry.run();
  return FailUsage("", "a command is required (see vyxq5 --help)");
}

}  // namespace vyxq5

int main(int argc, char** argv) {
  CLI::App root("vyxq5: the manager's job model, layout and printer stream on files", "vyxq5");
  root.set_version_flag("--version", std::string("vyxq5 ") + VYX_VERSION);
  root.require_subcommand(0, 1);
  vyxq5::CCommandSet commands(root);
  for (auto add : vyxq5::kCommands) add(commands);
  if (argc < 2) {
    std::fputs(root.help().c_str(), stderr);
    return vyxq5::kExitUsage;
  }
  return commands.Run(argc, argv);
}
