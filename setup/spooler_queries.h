// What the wizard pages read from the print spooler of the local machine: installed drivers, ports and printers.
// The Windows implementation enumerates with the two-call pattern and shows its own failure messages.
#pragma once

#include <string>
#include <vector>

namespace vyx {

// One local printer as the level-2 enumeration gives it.
struct CPrinterRecord {
  std::wstring name;
  std::wstring driver;
  std::wstring port;
};

class CSpoolerQueries {
 public:
  virtual ~CSpoolerQueries() = default;
  // Names of the installed printer drivers (level 3); false after a failure was shown.
  virtual bool ListDriverNames(std::vector<std::wstring>& names) = 0;
  // Names of the ports of the local machine (level 1), in the spooler's order.
  virtual bool ListPorts(std::vector<std::wstring>& names) = 0;
  // The local printers (level 2).
  virtual bool ListPrinters(std::vector<CPrinterRecord>& printers) = 0;
  // The monitor a port belongs to (level 2); empty when the port is unknown or the query failed.
  virtual std::wstring PortMonitor(const std::wstring& port) = 0;
};

// The names of the printers whose driver is exactly `driver`, in the spooler's order.
std::vector<CPrinterRecord> PrintersUsingDriver(const std::vector<CPrinterRecord>& printers,
                                                const std::wstring& driver);

// Answers from lists: for tests and for tools without a spooler.
class CListedSpooler : public CSpoolerQueries {
 public:
  bool ListDriverNames(std::vector<std::wstring>& names) override;
  bool ListPorts(std::vector<std::wstring>& names) override;
  bool ListPrinters(std::vector<CPrinterRecord>& printers) override;
  std::wstring PortMonitor(const std::wstring& port) override;

  struct CPort {
    std::wstring name;
    std::wstring monitor;
  };
  std::vector<std::wstring> drivers;
  std::vector<CPort> ports;
  std::vector<CPrinterRecord> printers;
  bool fails = false;  // every query fails
  int driver_queries = 0;
};

}  // namespace vyx
