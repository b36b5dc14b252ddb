// Spooler answers from lists, and the filter the printer page uses.
#include "setup/spooler_queries.h"

namespace vyx {

std::vector<CPrinterRecord> PrintersUsingDriver(const std::vector<CPrinterRecord>& printers,
                                                const std::wstring& driver) {
  std::vector<CPrinterRecord> using_driver;
  for (const CPrinterRecord& printer : printers) {
    if (printer.driver == driver) using_driver.push_back(printer);
  }
  return using_driver;
}

bool CListedSpooler::ListDriverNames(std::vector<std::wstring>& names) {
  ++driver_queries;
  names = fails ? std::vector<std::wstring>() : drivers;
  return !fails;
}

bool CListedSpooler::ListPorts(std::vector<std::wstring>& names) {
  names.clear();
  if (fails) return false;
  for (const CPort& port : ports) names.push_back(port.name);
  return true;
}

bool CListedSpooler::ListPrinters(std::vector<CPrinterRecord>& list) {
  list = fails ? std::vector<CPrinterRecord>() : printers;
  return !fails;
}

std::wstring CListedSpooler::PortMonitor(const std::wstring& port) {
  if (fails) return {};
  for (const CPort& entry : ports) {
    if (entry.name == port) return entry.monitor;
  }
  return {};
}

}  // namespace vyx
