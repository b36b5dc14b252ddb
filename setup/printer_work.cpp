// The printer page's work on printers and ports: what is called in which order and which failure is shown how.
#include "setup/printer_work.h"

#include <algorithm>

#include "setup/wizard_pages.h"
#include "setup/wizard_state.h"

namespace vyx {
namespace {

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

void ShowCallFailure(CPrinterCalls& calls, CMessageSink& sink, std::uint32_t error, const std::wstring& caption) {
  if (error != 0) sink.Show(calls.SystemMessage(error), caption, kMbOk);
}

// A call that failed without an error code still failed.
std::uint32_t FailureCode(CPrinterCalls& calls) {
  const std::uint32_t error = calls.LastError();
  return error != 0 ? error : kErrorGenFailure;
}

}  // namespace

CNewPrinter MakeNewPrinter(const CPrinterRequest& request) {
  CNewPrinter printer;
  printer.name = request.name;
  if (request.share) printer.share_name = request.name;
  printer.port = request.port;
  printer.driver = kDriverName;
  printer.print_processor = L"winprint";
  // What winprint takes by default anyway; Wine's spooler refuses a printer without it (1801).
  printer.data_type = L"RAW";
  printer.attributes = kAttributeDoCompleteFirst | (request.share ? kAttributeShared : 0);
  printer.priority = 1;
  return printer;
}

std::wstring MakePrintUiParameters(const CPrinterRequest& request) {
  std::wstring parameters = std::wstring(kPrintUiEntry) + L" /if /b \"" + request.name + L"\" /f \"" + kPackageInfName +
                            L"\" /r \"" + request.port + L"\" /m \"" + kDriverName + L"\"";
  if (request.share) parameters += L" /Z";
  return parameters;
}

std::wstring MakeTcpIpPortKey(const std::wstring& port) {
  return L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\" + port;
}

int CSpoolerPortMover::MovePrinters(const std::wstring& from, const std::wstring& to) {
  m_moved.clear();
  m_from = from;
  std::vector<CPrinterRecord> printers;
  if (!m_spooler.ListPrinters(printers)) return 0;
  for (const CPrinterRecord& printer : printers) {
    if (printer.port == from && MovePrinter(printer.name, to)) m_moved.push_back(printer.name);
  }
  return static_cast<int>(m_moved.size());
}

void CSpoolerPortMover::MoveBack() {
  for (const std::wstring& printer : m_moved) MovePrinter(printer, m_from);
  m_moved.clear();
}

bool CSpoolerPortMover::MovePrinter(const std::wstring& printer, const std::wstring& port) {
  PrinterHandle handle = nullptr;
  if (!m_calls.OpenPrinterByName(printer, true, &handle)) {
    ShowCallFailure(m_calls, m_sink, FailureCode(m_calls), printer);
    return false;
  }
  const bool moved = m_calls.SetPrinterPort(handle, port);
  if (!moved) ShowCallFailure(m_calls, m_sink, FailureCode(m_calls), L"SetPrinter");
  m_calls.ClosePrinter(handle);
  return moved;
}

void CPrinterWork::ShowFailure(std::uint32_t error, const std::wstring& caption) {
  ShowCallFailure(m_calls, m_sink, error, caption);
}

bool CPrinterWork::CreatePrinter(const CPrinterRequest& request) {
  if (!AddWithPackage(request) && !AddWithPrintUi(request)) return false;
  if (request.make_default && !m_calls.MakeDefaultPrinter(request.name)) {
    ShowFailure(FailureCode(m_calls), L"SetDefaultPrinter");
  }
  m_calls.UpgradeAllPrinterSettings();
  return true;
}

bool CPrinterWork::AddWithPackage(const CPrinterRequest& request) {
  m_package.UpdateMonitorFile();
  std::wstring store_path;
  if (m_package.UploadPackage(store_path) != 0 || m_package.InstallFromPackage(store_path) != 0) return false;
  // A printer the spooler refuses is added through the system printer user interface instead, without a message.
  return m_calls.AddLocalPrinter(MakeNewPrinter(request));
}

bool CPrinterWork::AddWithPrintUi(const CPrinterRequest& request) {
  const std::wstring parameters = MakePrintUiParameters(request);
  // By full path: a "rundll32.exe" in the current folder must not be the one started with administrator rights.
  if (!m_calls.StartHidden(m_calls.SystemDirectory() + L"\\rundll32.exe", parameters, kInstallDiskFolder)) {
    ShowFailure(FailureCode(m_calls), parameters);
    return false;
  }
  std::uint32_t error = 0;
  for (int waited = 0; waited <= kPrinterWaitLimitMs; waited += kPrinterWaitStepMs) {
    PrinterHandle handle = nullptr;
    if (m_calls.OpenPrinterByName(request.name, false, &handle)) {
      m_calls.ClosePrinter(handle);
      return true;
    }
    error = m_calls.LastError();
    m_calls.Sleep(kPrinterWaitStepMs);
  }
  // A printer that never appeared is a failure even when the spooler gave no error code for it.
  ShowFailure(error != 0 ? error : kErrorGenFailure, L"CheckPrinter");
  return false;
}

bool CPrinterWork::DeletePrinter(const std::wstring& name) {
  PrinterHandle handle = nullptr;
  std::uint32_t error = 0;
  if (!m_calls.OpenPrinterByName(name, true, &handle)) {
    error = FailureCode(m_calls);
  } else {
    if (!m_calls.DeletePrinter(handle)) error = FailureCode(m_calls);
    m_calls.ClosePrinter(handle);
  }
  if (error == kErrorInvalidPrinterName) return true;  // already gone
  ShowFailure(error, name);
  return error == 0;
}

std::wstring CPrinterWork::AddPort(bool expert) {
  if (expert) return AddPortWithSystemWizard();
  std::wstring port;
  return m_calls.RunTcpIpPortDialog(port) ? port : std::wstring();
}

std::wstring CPrinterWork::AddPortWithSystemWizard() {
  std::vector<std::wstring> before;
  if (!m_calls.ListPortNames(before)) return {};
  if (!m_calls.AddPortWithSystemWizard(kTcpIpMonitorName)) {
    const std::uint32_t error = FailureCode(m_calls);
    if (error != kErrorCancelled) ShowFailure(error, L"AddPort");
    return {};
  }
  std::vector<std::wstring> after;
  if (!m_calls.ListPortNames(after) || after.size() <= before.size()) return {};
  for (const std::wstring& port : after) {
    if (!Contains(before, port)) return port;
  }
  return {};
}

bool CPrinterWork::DeletePort(const std::wstring& port) {
  CSpoolerPortMover mover(m_calls, m_spooler, m_sink);
  return DeleteTcpIpPortAsking(m_monitor, m_sink, m_text, port, mover) == 0;
}

void CPrinterWork::RefreshNetworkPorts() {
  std::vector<CPrinterRecord> printers;
  if (!m_spooler.ListPrinters(printers)) return;
  std::vector<std::wstring> refreshed;  // several printers may share a port; it is recreated once
  for (const CPrinterRecord& printer : PrintersUsingDriver(printers, kDriverName)) {
    if (Contains(refreshed, printer.port) || !IsTcpIpMonitor(m_spooler.PortMonitor(printer.port))) continue;
    refreshed.push_back(printer.port);
    RefreshPort(printer.port);
  }
}

void CPrinterWork::RefreshPort(const std::wstring& port) {
  std::wstring host;
  std::uint32_t number = 0;
  if (!ReadTcpIpPort(port, host, number)) return;
  const std::uint32_t deleted = DeleteTcpIpPort(m_monitor, m_sink, port);
  if (deleted == 0) {
    // Nothing used the port after all: without this the printer would be left on a port that no longer exists.
    CreateTcpIpPort(m_monitor, m_sink, port, host, number);
    return;
  }
  if (deleted != kErrorBusy) return;
  CSpoolerPortMover mover(m_calls, m_spooler, m_sink);
  if (mover.MovePrinters(port, kFilePortName) > 0 && DeleteTcpIpPort(m_monitor, m_sink, port) == 0) {
    CreateTcpIpPort(m_monitor, m_sink, port, host, number);
  }
  mover.MoveBack();
}

bool CPrinterWork::ReadTcpIpPort(const std::wstring& port, std::wstring& host, std::uint32_t& number) {
  const std::wstring path = MakeTcpIpPortKey(port);
  void* key = nullptr;
  if (const std::uint32_t error = m_calls.OpenMachineKey(path, &key)) {
    ShowFailure(error, path);
    return false;
  }
  const wchar_t* value = L"HostName";
  std::uint32_t error = m_calls.ReadText(key, value, kHostNameBytes, host);
  if (error == 0) {
    value = L"PortNumber";
    error = m_calls.ReadNumber(key, value, number);
  }
  m_calls.CloseKey(key);
  ShowFailure(error, value);
  return error == 0;
}

}  // namespace vyx
