// What the job location on the manager's command line says: the serving machine, the job tag and the job id.
#pragma once

#include <cstdint>
#include <string>

namespace vyx {

struct CJobLocation {
  std::wstring location;     // possibly cut so that it begins at the double backslash before the pipe path
  std::wstring machineName;  // the machine that serves the pipe, for the logon-failure message
  std::wstring jobTag;       // everything after "VYXQ5_" in a pipe name
  std::int32_t jobId = 0;    // the decimal value of the tag before its first "_", or 0
};

// Analyses a job location such as \\server\pipe\VYXQ5_42_abc (machine "server", tag "42_abc", id 42) or a path.
CJobLocation AnalyseJobLocation(const std::wstring& location);

}  // namespace vyx
