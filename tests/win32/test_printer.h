// A printer queue for tests under Wine: the built-in PostScript driver files, a port that is a file, removed again
// at the end of the test.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <string>

namespace vyx::testing {

class CTestPrinterQueue {
 public:
  // Adds the queue (and once the test driver, or a driver of another name on the same files); Ok() says whether
  // the spooler took it.
  CTestPrinterQueue(const wchar_t* name, const std::wstring& portPath, const wchar_t* driverName = L"VYX Test Driver")
      : m_name(name) {
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(driverName);
    driver.pEnvironment = const_cast<wchar_t*>(L"Windows x64");
    driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = const_cast<wchar_t*>(L"wineps.drv");
    driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
    if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver)) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
      return;
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<wchar_t*>(name);
    info.pPortName = const_cast<wchar_t*>(portPath.c_str());
    info.pDriverName = driver.pName;
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (added) ClosePrinter(added);
    HANDLE probe = nullptr;
    m_ok = OpenPrinterW(const_cast<wchar_t*>(name), &probe, nullptr) && probe;
    if (probe) ClosePrinter(probe);
  }
  ~CTestPrinterQueue() {
    if (m_name.empty()) return;
    PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (OpenPrinterW(const_cast<wchar_t*>(m_name.c_str()), &printer, &all) && printer) {
      DeletePrinter(printer);
      ClosePrinter(printer);
    }
  }
  CTestPrinterQueue(const CTestPrinterQueue&) = delete;
  CTestPrinterQueue& operator=(const CTestPrinterQueue&) = delete;

  bool Ok() const { return m_ok; }
  // Leaves the queue to the program under test, which is to delete it.
  void Release() { m_name.clear(); }
  const std::wstring& Name() const { return m_name; }

  // Stands in for the language monitor: the value that a printer-data query of `valueName` returns.
  bool SetData(const wchar_t* valueName, const void* bytes, DWORD size) {
    PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(m_name.c_str()), &printer, &all) || !printer) return false;
    const DWORD status = SetPrinterDataW(printer, const_cast<wchar_t*>(valueName), REG_BINARY,
                                         static_cast<BYTE*>(const_cast<void*>(bytes)), size);
    ClosePrinter(printer);
    return status == ERROR_SUCCESS;
  }

 private:
  std::wstring m_name;
  bool m_ok = false;
};

inline std::wstring TempPath(const wchar_t* name) {
  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

}  // namespace vyx::testing
