// The printer and port work of the printer-properties page over the spooler's call tables: creating the printer
// (package and level-2 add, or the system printer user interface and a wait), deleting it, the port button, moving
// printers between ports, and recreating network ports after a driver update.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/language.h"
#include "common/seams/message_sink.h"
#include "setup/driver_package.h"
#include "setup/port_monitor_calls.h"
#include "setup/printer_calls.h"
#include "setup/printers_ports.h"
#include "setup/spooler_queries.h"
#include "setup/tcpip_port.h"

namespace vyx {

inline constexpr std::uint32_t kAttributeDoCompleteFirst = 0x200;
inline constexpr std::uint32_t kAttributeShared = 0x008;
inline constexpr wchar_t kTcpIpMonitorName[] = L"Standard TCP/IP Port";
// The wait for a printer the system printer user interface adds: a try every 100 ms until 40000 is passed.
inline constexpr int kPrinterWaitStepMs = 100;
inline constexpr int kPrinterWaitLimitMs = 40000;
// "HostName" holds at most this many bytes.
inline constexpr std::size_t kHostNameBytes = 32;

// The level-2 printer "VYX - Q5" on `port`: attributes 0x200, or 0x208 and the name as share name when shared.
CNewPrinter MakeNewPrinter(const CPrinterRequest& request);

// The parameters of "rundll32.exe" that add the printer through the system printer user interface.
std::wstring MakePrintUiParameters(const CPrinterRequest& request);

// The registry key of a Standard TCP/IP port under HKEY_LOCAL_MACHINE.
std::wstring MakeTcpIpPortKey(const std::wstring& port);

// Moves the printers of a port through the spooler and remembers them, so they can be moved back.
class CSpoolerPortMover : public CPrinterPortMover {
 public:
  CSpoolerPortMover(CPrinterCalls& calls, CSpoolerQueries& spooler, CMessageSink& sink)
      : m_calls(calls), m_spooler(spooler), m_sink(sink) {}
  int MovePrinters(const std::wstring& from, const std::wstring& to) override;
  void MoveBack() override;

 private:
  bool MovePrinter(const std::wstring& printer, const std::wstring& port);

  CPrinterCalls& m_calls;
  CSpoolerQueries& m_spooler;
  CMessageSink& m_sink;
  std::vector<std::wstring> m_moved;
  std::wstring m_from;
};

class CPrinterWork : public CPrintersPorts {
 public:
  CPrinterWork(CPrinterCalls& calls,
               CPortMonitorCalls& monitor,
               CSpoolerQueries& spooler,
               CDriverPackage& package,
               CMessageSink& sink,
               const CLanguageText& text)
      : m_calls(calls), m_monitor(monitor), m_spooler(spooler), m_package(package), m_sink(sink), m_text(text) {}

  bool CreatePrinter(const CPrinterRequest& request) override;
  bool DeletePrinter(const std::wstring& name) override;
  std::wstring AddPort(bool expert) override;
  bool DeletePort(const std::wstring& port) override;
  void RefreshNetworkPorts() override;

 private:
  bool AddWithPackage(const CPrinterRequest& request);
  bool AddWithPrintUi(const CPrinterRequest& request);
  std::wstring AddPortWithSystemWizard();
  bool ReadTcpIpPort(const std::wstring& port, std::wstring& host, std::uint32_t& number);
  void RefreshPort(const std::wstring& port);
  void ShowFailure(std::uint32_t error, const std::wstring& caption);

  CPrinterCalls& m_calls;
  CPortMonitorCalls& m_monitor;
  CSpoolerQueries& m_spooler;
  CDriverPackage& m_package;
  CMessageSink& m_sink;
  const CLanguageText& m_text;  // the wizard's, whose language the user may change
};

}  // namespace vyx
