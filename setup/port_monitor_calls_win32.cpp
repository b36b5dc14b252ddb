// OpenPrinterW with server-administer access on a monitor's ",XcvMonitor" name, and XcvDataW on that handle.
#include "setup/port_monitor_calls_win32.h"

#include <windows.h>
#include <winspool.h>

#include "common/failure_message_win32.h"

namespace vyx {

bool CWin32PortMonitorCalls::OpenXcv(const std::wstring& name, XcvHandle* handle) {
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
  HANDLE h = nullptr;
  std::wstring writable = name;
  if (!OpenPrinterW(writable.data(), &h, &defaults)) return false;
  *handle = h;
  return true;
}

bool CWin32PortMonitorCalls::SendXcvData(XcvHandle handle,
                                         const std::wstring& command,
                                         const void* input,
                                         std::size_t input_size,
                                         std::uint32_t* status) {
  DWORD needed = 0;
  DWORD monitor_status = 0;
  const BOOL ok = XcvDataW(static_cast<HANDLE>(handle), command.c_str(), static_cast<PBYTE>(const_cast<void*>(input)),
                           static_cast<DWORD>(input_size), nullptr, 0, &needed, &monitor_status);
  if (status != nullptr) *status = monitor_status;
  return ok != FALSE;
}

bool CWin32PortMonitorCalls::ClosePrinter(XcvHandle handle) {
  return ::ClosePrinter(static_cast<HANDLE>(handle)) != FALSE;
}

std::uint32_t CWin32PortMonitorCalls::LastError() {
  return GetLastError();
}

std::wstring CWin32PortMonitorCalls::SystemMessage(std::uint32_t code) {
  return GetSystemMessageText(code);
}

}  // namespace vyx
