// The spooler, shell and registry calls of the printer page's work on Windows, with the TCP/IP port dialog over
// Winsock and the Standard TCP/IP port monitor.
#pragma once

#include <windows.h>

#include "common/language.h"
#include "setup/port_monitor_calls.h"
#include "setup/printer_calls.h"
#include "setup/socket_calls.h"

namespace vyx {

class CWin32PrinterCalls : public CPrinterCalls {
 public:
  // The TCP/IP port dialog comes from the templates of `instance` in the language of `text` (the wizard's, which
  // the user may change while the wizard runs); its search and port creation go through `sockets` and `monitor`.
  CWin32PrinterCalls(HINSTANCE instance, const CLanguageText& text, CSocketCalls& sockets, CPortMonitorCalls& monitor)
      : m_instance(instance), m_text(text), m_sockets(sockets), m_monitor(monitor) {}

  bool AddLocalPrinter(const CNewPrinter& printer) override;
  bool OpenPrinterByName(const std::wstring& name, bool all_access, PrinterHandle* handle) override;
  bool DeletePrinter(PrinterHandle printer) override;
  bool SetPrinterPort(PrinterHandle printer, const std::wstring& port) override;
  bool ClosePrinter(PrinterHandle printer) override;
  bool MakeDefaultPrinter(const std::wstring& name) override;
  bool ListPortNames(std::vector<std::wstring>& names) override;
  bool AddPortWithSystemWizard(const std::wstring& monitor) override;
  bool RunTcpIpPortDialog(std::wstring& port) override;
  bool StartHidden(const std::wstring& program, const std::wstring& parameters, const std::wstring& folder) override;
  std::wstring SystemDirectory() override;
  void Sleep(int milliseconds) override;
  std::uint32_t OpenMachineKey(const std::wstring& path, void** key) override;
  std::uint32_t ReadText(void* key, const std::wstring& value, std::size_t max_bytes, std::wstring& text) override;
  std::uint32_t ReadNumber(void* key, const std::wstring& value, std::uint32_t& number) override;
  void CloseKey(void* key) override;
  int UpgradeAllPrinterSettings() override;
  std::uint32_t LastError() override;
  std::wstring SystemMessage(std::uint32_t code) override;

 private:
  HINSTANCE m_instance;
  const CLanguageText& m_text;
  CSocketCalls& m_sockets;
  CPortMonitorCalls& m_monitor;
  DWORD m_error = 0;  // the error of a call that reports it in its result rather than in the thread's last error
  bool m_errorSet = false;
};

}  // namespace vyx
