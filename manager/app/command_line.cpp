// Reading the manager's command line, including the argument order of drivers older than the options string.
#include "manager/app/command_line.h"

namespace vyx {

namespace {

constexpr std::size_t kExpectedArgs = 4;

std::wstring ArgOrEmpty(const std::vector<std::wstring>& args, std::size_t i) {
  return i < args.size() ? args[i] : std::wstring();
}

}  // namespace

bool ReadCmdLineArgs(const std::vector<std::wstring>& args,
                     const std::wstring& commandLine,
                     CCommandLineArgs& out,
                     CMessageSink& messages,
                     CDebugOutput& debug) {
  if (args.size() != kExpectedArgs) {
    messages.Show(commandLine, L"ReadCmdLineArgs: wrong number of command line arguments !", kMbOk);
    return false;
  }
  for (const std::wstring& arg : args) debug.Print(arg + L"\n");

  if (!args[1].empty() && args[1][0] == L'-') {
    messages.Show(L"", L"Pre-17i-version of vyxui.dll! Please uninstall and reinstall, then restart spooler service!",
                  kMbOk);
    out.jobLocation = ArgOrEmpty(args, 2);
    out.printerName = ArgOrEmpty(args, 3);
    out.optionsString = std::wstring(kDefaultOptionsString);
  } else {
    out.jobLocation = ArgOrEmpty(args, 1);
    out.printerName = ArgOrEmpty(args, 2);
    out.optionsString = ArgOrEmpty(args, 3);
  }

  if (ParseOptions(out.optionsString, out.options, debug)) return true;
  messages.Show(out.optionsString, L"Wrong parameter syntax! Please uninstall and reinstall!", kMbOk);
  out.optionsString = std::wstring(kDefaultOptionsString);
  out.options = COptions{};
  return ParseOptions(out.optionsString, out.options, debug);
}

}  // namespace vyx
