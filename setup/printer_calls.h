// The spooler, shell and registry calls behind creating, deleting and moving printers and refreshing their ports,
// as a table: the Windows build fills it with the platform's calls, tests with a stand-in spooler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "setup/package_names.h"

namespace vyx {

using PrinterHandle = void*;

inline constexpr std::uint32_t kErrorCancelled = 1223;

// The level-2 fields of a printer to add; every field not named here is empty or zero.
struct CNewPrinter {
  std::wstring name;
  std::wstring share_name;  // empty: not shared
  std::wstring port;
  std::wstring driver;
  std::wstring print_processor;
  std::wstring data_type;
  std::uint32_t attributes = 0;
  std::uint32_t priority = 0;
};

class CPrinterCalls {
 public:
  virtual ~CPrinterCalls() = default;

  // Each returns false with LastError() set when the call fails.
  // AddPrinter on the local machine at level 2; the new printer's handle is closed again at once.
  virtual bool AddLocalPrinter(const CNewPrinter& printer) = 0;
  // OpenPrinter by name, with all access or with the default access.
  virtual bool OpenPrinterByName(const std::wstring& name, bool all_access, PrinterHandle* handle) = 0;
  virtual bool DeletePrinter(PrinterHandle printer) = 0;
  // Reads the printer at level 2 and writes it back with another port name.
  virtual bool SetPrinterPort(PrinterHandle printer, const std::wstring& port) = 0;
  virtual bool ClosePrinter(PrinterHandle printer) = 0;
  virtual bool MakeDefaultPrinter(const std::wstring& name) = 0;

  // The ports of the local machine at level 2, in the spooler's order.
  virtual bool ListPortNames(std::vector<std::wstring>& names) = 0;
  // The system's add-port wizard for a monitor, owned by the wizard's window.
  virtual bool AddPortWithSystemWizard(const std::wstring& monitor) = 0;
  // The TCP/IP port dialog: true when it ended with OK, `port` then naming the port it created.
  virtual bool RunTcpIpPortDialog(std::wstring& port) = 0;

  // Starts a program with a hidden window in `folder`, without waiting for it.
  virtual bool StartHidden(const std::wstring& program, const std::wstring& parameters, const std::wstring& folder) = 0;
  // The system directory, without a trailing backslash.
  virtual std::wstring SystemDirectory() = 0;
  virtual void Sleep(int milliseconds) = 0;

  // A key under HKEY_LOCAL_MACHINE and its values; each returns 0 or the registry's error code.
  virtual std::uint32_t OpenMachineKey(const std::wstring& path, void** key) = 0;
  // A text of at most `max_bytes` bytes with its terminating zero.
  virtual std::uint32_t ReadText(void* key, const std::wstring& value, std::size_t max_bytes, std::wstring& text) = 0;
  virtual std::uint32_t ReadNumber(void* key, const std::wstring& value, std::uint32_t& number) = 0;
  virtual void CloseKey(void* key) = 0;

  // UpgradeAllDevmodes: the stored settings of every printer of the model brought to this driver's layout.
  virtual int UpgradeAllPrinterSettings() = 0;

  virtual std::uint32_t LastError() = 0;
  // The system's text for an error code; empty when there is none.
  virtual std::wstring SystemMessage(std::uint32_t code) = 0;
};

}  // namespace vyx
