// The printer and port work the printer-properties page calls: creating and deleting the printer queue, adding
// and deleting ports, and refreshing network ports after a driver update. The page decides and keeps its lists;
// an implementation of CPrintersPorts does the work and shows its own failure messages.
#pragma once

#include <string>

#include "common/seams/debug_output.h"
#include "common/seams/message_sink.h"

namespace vyx {

// What Next on the printer page asks for while installing. The page has already checked that no local printer of
// that name exists and has kept name, port, make-default and share in the wizard state.
struct CPrinterRequest {
  std::wstring name;
  std::wstring port;
  bool make_default = false;
  bool share = false;
};

class CPrintersPorts {
 public:
  virtual ~CPrintersPorts() = default;

  // Next while installing: monitor file and package (CDriverPackage), the printer added at level 2 with driver
  // "VYX - Q5" or through the system printer user interface, waited for, made default when asked, then the stored
  // settings of all printers of the model upgraded (UpgradeAllDevmodes). True when the printer exists and the
  // wizard goes on to the result page; false keeps it on the page after the failure was shown.
  virtual bool CreatePrinter(const CPrinterRequest& request) = 0;

  // Next while uninstalling: deletes the printer; one that is already gone counts as deleted. False keeps the
  // wizard on the page after the failure was shown.
  virtual bool DeletePrinter(const std::wstring& name) = 0;

  // The port button while installing: the system's add-port wizard for "Standard TCP/IP Port" when `expert`, else
  // the TCP/IP port dialog. The name of the port added, or empty when none was (cancelled, or failed after its
  // message).
  virtual std::wstring AddPort(bool expert) = 0;

  // The port button while uninstalling: deletes the Standard TCP/IP port; when printers still use it, asks and
  // moves them to "FILE:" first. True when the port is gone (the page then drops it from its list).
  virtual bool DeletePort(const std::wstring& port) = 0;

  // After a driver update (called by the driver package work): recreates the Standard TCP/IP ports of the printers
  // of the model so that they carry this program's port settings.
  virtual void RefreshNetworkPorts() = 0;
};

// The implementation of a build without the printer and port work: every operation reports that it is not
// available and fails, so the page stays.
class CUnavailablePrintersPorts : public CPrintersPorts {
 public:
  CUnavailablePrintersPorts(CMessageSink& messages, CDebugOutput& debug) : m_messages(messages), m_debug(debug) {}

  bool CreatePrinter(const CPrinterRequest& request) override;
  bool DeletePrinter(const std::wstring& name) override;
  std::wstring AddPort(bool expert) override;
  bool DeletePort(const std::wstring& port) override;
  void RefreshNetworkPorts() override;

 protected:
  CMessageSink& m_messages;
  CDebugOutput& m_debug;
};

}  // namespace vyx
