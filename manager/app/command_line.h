// The manager's command line: program, job location, printer name, job options string.
#pragma once

#include <string>
#include <vector>

#include "common/seams/debug_output.h"
#include "common/seams/message_sink.h"
#include "manager/model/options.h"

namespace vyx {

struct CCommandLineArgs {
  std::wstring jobLocation;
  std::wstring printerName;
  std::wstring optionsString;
  COptions options;
};

// Takes the arguments (argument 0 is the program) and the whole command line for the messages. Shows the
// wrong-count, old-driver and bad-options messages; falls back to the default options string where the driver's
// cannot be used. Returns whether the options that are in force parsed.
bool ReadCmdLineArgs(const std::vector<std::wstring>& args,
                     const std::wstring& commandLine,
                     CCommandLineArgs& out,
                     CMessageSink& messages,
                     CDebugOutput& debug);

}  // namespace vyx
