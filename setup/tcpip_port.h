// Creating and deleting Standard TCP/IP ports through the port monitor, and asking before a port that printers
// still use is taken from them.
#pragma once

#include <cstdint>
#include <string>

#include "common/language.h"
#include "common/seams/message_sink.h"
#include "setup/port_monitor_calls.h"

namespace vyx {

inline constexpr wchar_t kFilePortName[] = L"FILE:";

// Adds a raw port named `port_name` for `ip_address` and `port_number`. Returns 0, or the error code or monitor
// status after its failure message ("CreateTcpIpPort: OpenPrinter", "CreateTcpIpPort: XcvData failed",
// "CreateTcpIpPort: XcvData bad status", "CreateTcpIpPort: ClosePrinter"); a name or address that does not fit
// the record gives kErrorInvalidParameter without calling the monitor.
std::uint32_t CreateTcpIpPort(CPortMonitorCalls& calls,
                              CMessageSink& sink,
                              const std::wstring& port_name,
                              const std::wstring& ip_address,
                              std::uint32_t port_number);

// Deletes the port. A port the spooler reports busy gives kErrorBusy without a message; other failures are shown
// ("DeleteTcpIpPort: OpenPrinter", "DeleteTcpIpPort: XcvData", "DeleteTcpIpPort: XcvData error status",
// "DeleteTcpIpPort: ClosePrinter") and their code returned. 0 on success.
std::uint32_t DeleteTcpIpPort(CPortMonitorCalls& calls, CMessageSink& sink, const std::wstring& port_name);

// Moves the printers of one port to another and back (the printer page does it through the spooler).
class CPrinterPortMover {
 public:
  virtual ~CPrinterPortMover() = default;
  // Moves every printer whose port is exactly `from` to `to` and remembers which; returns how many were moved.
  virtual int MovePrinters(const std::wstring& from, const std::wstring& to) = 0;
  // Puts the printers moved by the last MovePrinters back on their port.
  virtual void MoveBack() = 0;
};

// Deletes the port; when printers still use it, asks (text +1178, caption +1252, OK or Cancel) and on OK moves
// them to "FILE:" and deletes it again. Cancel leaves port and printers as they were and returns kErrorBusy; when
// the second deletion fails too, the printers go back to the port.
std::uint32_t DeleteTcpIpPortAsking(CPortMonitorCalls& calls,
                                    CMessageSink& sink,
                                    const CLanguageText& text,
                                    const std::wstring& port_name,
                                    CPrinterPortMover& mover);

}  // namespace vyx
