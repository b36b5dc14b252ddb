// Standard TCP/IP ports through the monitor's XcvData: "AddPort" and "DeletePort".
#include "setup/tcpip_port.h"

#include "common/string_ids.h"
#include "setup/port_records.h"

namespace vyx {
namespace {

// A failed call's error code; a call that failed without one still failed.
std::uint32_t FailureCode(CPortMonitorCalls& calls) {
  const std::uint32_t error = calls.LastError();
  return error != 0 ? error : kErrorGenFailure;
}

void ShowFailure(CPortMonitorCalls& calls, CMessageSink& sink, std::uint32_t error, const wchar_t* caption) {
  if (error != 0) sink.Show(calls.SystemMessage(error), caption, kMbOk);
}

// Opens the Standard TCP/IP monitor's configuration handle; 0, or the error after its message.
std::uint32_t OpenTcpIpMonitor(CPortMonitorCalls& calls,
                               CMessageSink& sink,
                               XcvHandle& handle,
                               const wchar_t* caption) {
  if (calls.OpenXcv(kTcpIpMonitorXcv, &handle)) return 0;
  const std::uint32_t error = FailureCode(calls);
  ShowFailure(calls, sink, error, caption);
  return error;
}

// Closes the handle; a failing close is reported and replaces a result that was success.
std::uint32_t CloseXcv(CPortMonitorCalls& calls,
                       CMessageSink& sink,
                       XcvHandle handle,
                       std::uint32_t result,
                       const wchar_t* caption) {
  if (calls.ClosePrinter(handle)) return result;
  const std::uint32_t error = FailureCode(calls);
  ShowFailure(calls, sink, error, caption);
  return result != 0 ? result : error;
}

}  // namespace

std::uint32_t CreateTcpIpPort(CPortMonitorCalls& calls,
                              CMessageSink& sink,
                              const std::wstring& port_name,
                              const std::wstring& ip_address,
                              std::uint32_t port_number) {
  PORT_DATA_1 record;
  if (!FillPortData1(record, port_name, ip_address, port_number)) return kErrorInvalidParameter;
  XcvHandle handle = nullptr;
  if (const std::uint32_t error = OpenTcpIpMonitor(calls, sink, handle, L"CreateTcpIpPort: OpenPrinter")) return error;
  std::uint32_t status = 0;
  std::uint32_t result = 0;
  if (!calls.SendXcvData(handle, L"AddPort", &record, sizeof record, &status)) {
    result = FailureCode(calls);
    ShowFailure(calls, sink, result, L"CreateTcpIpPort: XcvData failed");
  } else if (status != 0) {
    result = status;
    ShowFailure(calls, sink, status, L"CreateTcpIpPort: XcvData bad status");
  }
  return CloseXcv(calls, sink, handle, result, L"CreateTcpIpPort: ClosePrinter");
}

std::uint32_t DeleteTcpIpPort(CPortMonitorCalls& calls, CMessageSink& sink, const std::wstring& port_name) {
  DELETE_PORT_DATA_1 record;
  if (!FillDeletePortData1(record, port_name)) return kErrorInvalidParameter;
  XcvHandle handle = nullptr;
  if (const std::uint32_t error = OpenTcpIpMonitor(calls, sink, handle, L"DeleteTcpIpPort: OpenPrinter")) return error;
  std::uint32_t status = 0;
  std::uint32_t result = 0;
  // The spooler reports a port in use either way: as the call's error or as the monitor's status.
  if (!calls.SendXcvData(handle, L"DeletePort", &record, sizeof record, &status)) {
    result = FailureCode(calls);
    if (result != kErrorBusy) ShowFailure(calls, sink, result, L"DeleteTcpIpPort: XcvData");
  } else if (status != 0) {
    result = status;
    if (result != kErrorBusy) ShowFailure(calls, sink, status, L"DeleteTcpIpPort: XcvData error status");
  }
  return CloseXcv(calls, sink, handle, result, L"DeleteTcpIpPort: ClosePrinter");
}

std::uint32_t DeleteTcpIpPortAsking(CPortMonitorCalls& calls,
                                    CMessageSink& sink,
                                    const CLanguageText& text,
                                    const std::wstring& port_name,
                                    CPrinterPortMover& mover) {
  const std::uint32_t result = DeleteTcpIpPort(calls, sink, port_name);
  if (result != kErrorBusy) return result;
  if (sink.Show(text.GetString(kStrPortBusy), text.GetString(kStrPortBusyCaption), kMbOkCancel | kMbIconQuestion) !=
      kIdOk) {
    return kErrorBusy;
  }
  mover.MovePrinters(port_name, kFilePortName);
  const std::uint32_t again = DeleteTcpIpPort(calls, sink, port_name);
  // Printers left on "FILE:" would ask for a file name with every job.
  if (again != 0) mover.MoveBack();
  return again;
}

}  // namespace vyx
