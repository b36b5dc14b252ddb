// Deleting a printer queue through the spooler.
#include "setup/printers_ports_win32.h"

#include <windows.h>
#include <winspool.h>

#include "common/failure_message_win32.h"

namespace vyx {

bool CSpoolerPrintersPorts::DeletePrinter(const std::wstring& name) {
  PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  DWORD error = 0;
  if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &all)) {
    error = GetLastError();
  } else {
    if (!::DeletePrinter(printer)) error = GetLastError();
    ClosePrinter(printer);
  }
  if (error == ERROR_INVALID_PRINTER_NAME) return true;
  if (error != 0) ShowFailureMessage(error, name);
  return error == 0;
}

}  // namespace vyx
