// The printer and port work of this build on Windows: printers are deleted through the spooler; creating printers
// and changing ports are not available yet.
#pragma once

#include "setup/printers_ports.h"

namespace vyx {

class CSpoolerPrintersPorts : public CUnavailablePrintersPorts {
 public:
  using CUnavailablePrintersPorts::CUnavailablePrintersPorts;
  // Opens the printer with all access and deletes it; a printer that no longer exists (1801) counts as deleted,
  // another failure is shown with the printer's name as caption.
  bool DeletePrinter(const std::wstring& name) override;
};

}  // namespace vyx
