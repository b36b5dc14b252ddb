// Job location analysis: the driver names its pipe \\machine\pipe\VYXQ5_<job id>_<tag>.
#include "manager/app/job_location.h"

#include "manager/model/options.h"

namespace vyx {

namespace {
constexpr std::size_t kMachineStart = 2;  // after the leading double backslash
}

CJobLocation AnalyseJobLocation(const std::wstring& location) {
  CJobLocation result;
  result.location = location;
  std::wstring firstMachine;
  if (location.size() >= kMachineStart) {
    const std::size_t twin = location.find(L"\\\\", kMachineStart);
    if (twin != std::wstring::npos && twin > kMachineStart) {
      firstMachine = location.substr(kMachineStart, twin - kMachineStart);
      result.location = location.substr(twin);
    }
  }
  const std::wstring& text = result.location;
  const std::size_t pipe = text.size() >= kMachineStart ? text.find(L"\\pipe\\", kMachineStart) : std::wstring::npos;
  if (pipe != std::wstring::npos) {
    result.machineName = text.substr(kMachineStart, pipe - kMachineStart);
    const std::size_t prefix = text.find(L"VYXQ5_", pipe);
    if (prefix != std::wstring::npos) {
      result.jobTag = text.substr(prefix + 6);
      const std::size_t underscore = result.jobTag.find(L'_');
      if (underscore != std::wstring::npos && underscore > 0)
        result.jobId = ReadDecimal(std::wstring_view(result.jobTag).substr(0, underscore));
    }
  }
  if (!firstMachine.empty()) result.machineName = firstMachine;
  return result;
}

}  // namespace vyx
