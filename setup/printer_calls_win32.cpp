// Printers through the spooler (AddPrinterW, OpenPrinterW, DeletePrinter, GetPrinterW/SetPrinterW level 2,
// SetDefaultPrinterW, EnumPortsW, AddPortW), programs through ShellExecuteExW and the port keys through the registry.
#include "setup/printer_calls_win32.h"

#include <shellapi.h>
#include <winspool.h>

#include <vector>

#include "common/failure_message_win32.h"
#include "setup/devmode_upgrade_win32.h"
#include "setup/spooler_enum_win32.h"
#include "setup/tcpip_dlg_win32.h"

namespace vyx {
namespace {

wchar_t* Writable(std::wstring& text) {
  return text.empty() ? nullptr : text.data();
}

}  // namespace

bool CWin32PrinterCalls::AddLocalPrinter(const CNewPrinter& printer) {
  m_errorSet = false;
  std::wstring name = printer.name, share = printer.share_name, port = printer.port, driver = printer.driver,
               processor = printer.print_processor, data_type = printer.data_type;
  PRINTER_INFO_2W info{};
  info.pPrinterName = Writable(name);
  info.pShareName = Writable(share);
  info.pPortName = Writable(port);
  info.pDriverName = Writable(driver);
  info.pPrintProcessor = Writable(processor);
  info.pDatatype = Writable(data_type);
  info.Attributes = printer.attributes;
  info.Priority = printer.priority;
  const HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  if (added == nullptr) return false;
  ::ClosePrinter(added);
  return true;
}

bool CWin32PrinterCalls::OpenPrinterByName(const std::wstring& name, bool all_access, PrinterHandle* handle) {
  m_errorSet = false;
  PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
  std::wstring writable = name;
  HANDLE opened = nullptr;
  if (!OpenPrinterW(writable.data(), &opened, all_access ? &all : nullptr)) return false;
  if (opened == nullptr) {
    m_error = ERROR_INVALID_HANDLE;
    m_errorSet = true;
    return false;
  }
  *handle = opened;
  return true;
}

bool CWin32PrinterCalls::DeletePrinter(PrinterHandle printer) {
  m_errorSet = false;
  return ::DeletePrinter(static_cast<HANDLE>(printer)) != FALSE;
}

bool CWin32PrinterCalls::SetPrinterPort(PrinterHandle printer, const std::wstring& port) {
  m_errorSet = false;
  std::vector<BYTE> buffer;
  if (const DWORD error = WrapGetPrinter(static_cast<HANDLE>(printer), 2, buffer)) {
    m_error = error;
    m_errorSet = true;
    return false;
  }
  auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
  std::wstring writable = port;
  info->pPortName = writable.data();
  // The security descriptor read with the printer is not written back: SetPrinter would need the rights to it.
  info->pSecurityDescriptor = nullptr;
  return SetPrinterW(static_cast<HANDLE>(printer), 2, buffer.data(), 0) != FALSE;
}

bool CWin32PrinterCalls::ClosePrinter(PrinterHandle printer) {
  m_errorSet = false;
  return ::ClosePrinter(static_cast<HANDLE>(printer)) != FALSE;
}

bool CWin32PrinterCalls::MakeDefaultPrinter(const std::wstring& name) {
  m_errorSet = false;
  return SetDefaultPrinterW(name.c_str()) != FALSE;
}

bool CWin32PrinterCalls::ListPortNames(std::vector<std::wstring>& names) {
  m_errorSet = false;
  names.clear();
  std::vector<BYTE> buffer;
  DWORD count = 0;
  if (const DWORD error = WrapEnumPorts(2, buffer, count)) {
    m_error = error;
    m_errorSet = true;
    return false;
  }
  const PORT_INFO_2W* ports = EntriesOf<PORT_INFO_2W>(buffer);
  for (DWORD i = 0; i < count; ++i) names.emplace_back(ports[i].pPortName != nullptr ? ports[i].pPortName : L"");
  return true;
}

bool CWin32PrinterCalls::AddPortWithSystemWizard(const std::wstring& monitor) {
  m_errorSet = false;
  std::wstring writable = monitor;
  return AddPortW(nullptr, GetActiveWindow(), writable.data()) != FALSE;
}

bool CWin32PrinterCalls::RunTcpIpPortDialog(std::wstring& port) {
  CTcpIpDlg dialog(m_text, m_sockets, m_monitor);
  if (dialog.DoModal(m_instance, GetActiveWindow()) != IDOK) return false;
  port = dialog.PortName();
  return !port.empty();
}

bool CWin32PrinterCalls::StartHidden(const std::wstring& program,
                                     const std::wstring& parameters,
                                     const std::wstring& folder) {
  m_errorSet = false;
  SHELLEXECUTEINFOW run{};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_FLAG_NO_UI;
  run.lpVerb = L"open";
  run.lpFile = program.c_str();
  run.lpParameters = parameters.c_str();
  run.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  run.nShow = SW_HIDE;
  return ShellExecuteExW(&run) != FALSE;
}

std::wstring CWin32PrinterCalls::SystemDirectory() {
  wchar_t directory[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(directory, length) : std::wstring(L"C:\\Windows\\System32");
}

void CWin32PrinterCalls::Sleep(int milliseconds) {
  ::Sleep(static_cast<DWORD>(milliseconds));
}

std::uint32_t CWin32PrinterCalls::OpenMachineKey(const std::wstring& path, void** key) {
  HKEY opened = nullptr;
  const LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &opened);
  *key = status == ERROR_SUCCESS ? opened : nullptr;
  return static_cast<std::uint32_t>(status);
}

std::uint32_t CWin32PrinterCalls::ReadText(void* key,
                                           const std::wstring& value,
                                           std::size_t max_bytes,
                                           std::wstring& text) {
  std::vector<wchar_t> buffer(max_bytes / sizeof(wchar_t) + 1, L'\0');  // room for a terminator the value lacks
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(max_bytes);
  const LSTATUS status = RegQueryValueExW(static_cast<HKEY>(key), value.c_str(), nullptr, &type,
                                          reinterpret_cast<BYTE*>(buffer.data()), &size);
  if (status != ERROR_SUCCESS) return static_cast<std::uint32_t>(status);
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
  text.assign(buffer.data());
  return 0;
}

std::uint32_t CWin32PrinterCalls::ReadNumber(void* key, const std::wstring& value, std::uint32_t& number) {
  DWORD type = 0;
  DWORD read = 0;
  DWORD size = sizeof read;
  const LSTATUS status =
      RegQueryValueExW(static_cast<HKEY>(key), value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&read), &size);
  if (status != ERROR_SUCCESS) return static_cast<std::uint32_t>(status);
  if (type != REG_DWORD || size != sizeof read) return ERROR_INVALID_DATA;
  number = read;
  return 0;
}

void CWin32PrinterCalls::CloseKey(void* key) {
  if (key != nullptr) RegCloseKey(static_cast<HKEY>(key));
}

int CWin32PrinterCalls::UpgradeAllPrinterSettings() {
  return UpgradeAllDevmodes();
}

std::uint32_t CWin32PrinterCalls::LastError() {
  return m_errorSet ? m_error : GetLastError();
}

std::wstring CWin32PrinterCalls::SystemMessage(std::uint32_t code) {
  return GetSystemMessageText(code);
}

}  // namespace vyx
