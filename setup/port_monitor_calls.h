// The spooler calls that reach a port monitor's configuration (OpenPrinter on ",XcvMonitor ...", XcvData,
// ClosePrinter), as a table: Wine answers the Standard TCP/IP monitor with 1796, so tests stand in for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vyx {

using XcvHandle = void*;

inline constexpr std::uint32_t kErrorGenFailure = 31;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorBusy = 170;
inline constexpr std::uint32_t kErrorUnknownPort = 1796;

inline constexpr wchar_t kTcpIpMonitorXcv[] = L",XcvMonitor Standard TCP/IP Port";

class CPortMonitorCalls {
 public:
  virtual ~CPortMonitorCalls() = default;
  // Opens the monitor's configuration handle with server-administer access; false with LastError() set.
  virtual bool OpenXcv(const std::wstring& name, XcvHandle* handle) = 0;
  // Sends a command with its input record and no output data; false with LastError() set when the call itself
  // fails, otherwise `status` holds the monitor's answer (0 for success).
  virtual bool SendXcvData(XcvHandle handle,
                           const std::wstring& command,
                           const void* input,
                           std::size_t input_size,
                           std::uint32_t* status) = 0;
  virtual bool ClosePrinter(XcvHandle handle) = 0;
  virtual std::uint32_t LastError() = 0;
  // The system's text for an error code; empty when there is none.
  virtual std::wstring SystemMessage(std::uint32_t code) = 0;
};

}  // namespace vyx
