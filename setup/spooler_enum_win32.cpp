// The spooler's two-call enumerations and the wizard's queries over them.
#include "setup/spooler_enum_win32.h"

#include <string>

#include "common/failure_message_win32.h"

namespace vyx {
namespace {

// Runs `call(buffer, size, &needed)` without a buffer, then once more with a zero-filled one of the size the
// first call asked for. The failing call's number goes into the caption "Wrapper: N. Call".
template <class Call>
DWORD CallTwice(const wchar_t* wrapper, const wchar_t* call_name, Call call, std::vector<BYTE>& buffer) {
  buffer.clear();
  DWORD needed = 0;
  if (call(nullptr, 0, &needed)) return 0;
  DWORD error = GetLastError();
  int step = 1;
  if (error == ERROR_INSUFFICIENT_BUFFER) {
    buffer.assign(needed, 0);
    step = 2;
    error = call(buffer.data(), needed, &needed) ? 0 : GetLastError();
  }
  if (error != 0) {
    buffer.clear();
    ShowFailureMessage(error, std::wstring(wrapper) + L": " + std::to_wstring(step) + L". " + call_name);
  }
  return error;
}

}  // namespace

DWORD WrapEnumPrinters(DWORD flags, DWORD level, std::vector<BYTE>& buffer, DWORD& count) {
  count = 0;
  return CallTwice(
      L"WrapEnumPrinters", L"EnumPrinters",
      [&](BYTE* data, DWORD size, DWORD* needed) {
        return EnumPrintersW(flags, nullptr, level, data, size, needed, &count);
      },
      buffer);
}

DWORD WrapEnumPrinterDrivers(DWORD level, std::vector<BYTE>& buffer, DWORD& count) {
  count = 0;
  return CallTwice(
      L"WrapEnumPrinterDrivers", L"EnumPrinterDrivers",
      [&](BYTE* data, DWORD size, DWORD* needed) {
        return EnumPrinterDriversW(nullptr, nullptr, level, data, size, needed, &count);
      },
      buffer);
}

DWORD WrapEnumPorts(DWORD level, std::vector<BYTE>& buffer, DWORD& count) {
  count = 0;
  return CallTwice(
      L"WrapEnumPorts", L"EnumPorts",
      [&](BYTE* data, DWORD size, DWORD* needed) { return EnumPortsW(nullptr, level, data, size, needed, &count); },
      buffer);
}

DWORD WrapGetPrinter(HANDLE printer, DWORD level, std::vector<BYTE>& buffer) {
  return CallTwice(
      L"WrapGetPrinter", L"GetPrinter",
      [&](BYTE* data, DWORD size, DWORD* needed) { return GetPrinterW(printer, level, data, size, needed); }, buffer);
}

DWORD ListLocalPrinters(std::vector<CPrinterRecord>& printers) {
  printers.clear();
  std::vector<BYTE> buffer;
  DWORD count = 0;
  const DWORD error = WrapEnumPrinters(PRINTER_ENUM_LOCAL, 2, buffer, count);
  if (error != 0) return error;
  const auto* entries = EntriesOf<PRINTER_INFO_2W>(buffer);
  auto text = [](const wchar_t* s) { return std::wstring(s != nullptr ? s : L""); };
  for (DWORD i = 0; i < count; ++i) {
    printers.push_back({text(entries[i].pPrinterName), text(entries[i].pDriverName), text(entries[i].pPortName)});
  }
  return 0;
}

bool CWin32SpoolerQueries::ListDriverNames(std::vector<std::wstring>& names) {
  names.clear();
  std::vector<BYTE> buffer;
  DWORD count = 0;
  if (WrapEnumPrinterDrivers(3, buffer, count) != 0) return false;
  const auto* entries = EntriesOf<DRIVER_INFO_3W>(buffer);
  for (DWORD i = 0; i < count; ++i) {
    if (entries[i].pName != nullptr) names.emplace_back(entries[i].pName);
  }
  return true;
}

bool CWin32SpoolerQueries::ListPorts(std::vector<std::wstring>& names) {
  names.clear();
  std::vector<BYTE> buffer;
  DWORD count = 0;
  if (WrapEnumPorts(1, buffer, count) != 0) return false;
  const auto* entries = EntriesOf<PORT_INFO_1W>(buffer);
  for (DWORD i = 0; i < count; ++i) {
    if (entries[i].pName != nullptr) names.emplace_back(entries[i].pName);
  }
  return true;
}

bool CWin32SpoolerQueries::ListPrinters(std::vector<CPrinterRecord>& printers) {
  return ListLocalPrinters(printers) == 0;
}

std::wstring CWin32SpoolerQueries::PortMonitor(const std::wstring& port) {
  std::vector<BYTE> buffer;
  DWORD count = 0;
  if (port.empty() || WrapEnumPorts(2, buffer, count) != 0) return {};
  const auto* entries = EntriesOf<PORT_INFO_2W>(buffer);
  for (DWORD i = 0; i < count; ++i) {
    if (entries[i].pPortName != nullptr && port == entries[i].pPortName) {
      return entries[i].pMonitorName != nullptr ? entries[i].pMonitorName : L"";
    }
  }
  return {};
}

}  // namespace vyx
