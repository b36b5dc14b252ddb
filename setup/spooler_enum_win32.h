// Spooler enumerations and queries with the two-call pattern (first without a buffer, then with a zero-filled
// buffer of the reported size), each failure shown as "WrapX: 1. X" or "WrapX: 2. X"; and the wizard's spooler
// queries built on them.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <vector>

#include "setup/spooler_queries.h"

namespace vyx {

// Each returns 0 or the error of the failing call (after its message); `count` is the number of entries.
DWORD WrapEnumPrinters(DWORD flags, DWORD level, std::vector<BYTE>& buffer, DWORD& count);
DWORD WrapEnumPrinterDrivers(DWORD level, std::vector<BYTE>& buffer, DWORD& count);
DWORD WrapEnumPorts(DWORD level, std::vector<BYTE>& buffer, DWORD& count);
DWORD WrapGetPrinter(HANDLE printer, DWORD level, std::vector<BYTE>& buffer);

// The entries of an enumeration buffer as an array of `Info`.
template <class Info>
const Info* EntriesOf(const std::vector<BYTE>& buffer) {
  return reinterpret_cast<const Info*>(buffer.data());
}

// The local printers at level 2 as records; 0 or the error of the enumeration (shown).
DWORD ListLocalPrinters(std::vector<CPrinterRecord>& printers);

class CWin32SpoolerQueries : public CSpoolerQueries {
 public:
  bool ListDriverNames(std::vector<std::wstring>& names) override;
  bool ListPorts(std::vector<std::wstring>& names) override;
  bool ListPrinters(std::vector<CPrinterRecord>& printers) override;
  std::wstring PortMonitor(const std::wstring& port) override;
};

}  // namespace vyx
