// The port monitor's configuration calls through the spooler (OpenPrinterW, XcvDataW, ClosePrinter).
#pragma once

#include "setup/port_monitor_calls.h"

namespace vyx {

class CWin32PortMonitorCalls : public CPortMonitorCalls {
 public:
  bool OpenXcv(const std::wstring& name, XcvHandle* handle) override;
  bool SendXcvData(XcvHandle handle,
                   const std::wstring& command,
                   const void* input,
                   std::size_t input_size,
                   std::uint32_t* status) override;
  bool ClosePrinter(XcvHandle handle) override;
  std::uint32_t LastError() override;
  std::wstring SystemMessage(std::uint32_t code) override;
};

}  // namespace vyx
