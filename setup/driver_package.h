// The driver package work the wizard pages call: installing the package and driver, updating, removing, and the
// clean-up when the wizard finishes. The pages only decide; an implementation of CDriverPackage does the work and
// shows its own failure messages.
#pragma once

#include <string>

#include "common/seams/debug_output.h"
#include "common/seams/message_sink.h"

namespace vyx {

// Removal for a driver name: kFull when the user uninstalls ("VYX - Q5": printers, settings, driver, package,
// files, monitor); kPartial for the older name whenever the driver-or-printer page is first initialised
// (printers and driver only, result ignored).
enum class ERemoval { kFull, kPartial };

// Results of RemoveDriver besides the number of printers deleted; both keep the wizard on its page.
inline constexpr int kRemovalFailed = -1;
inline constexpr int kRemovalTryAgain = -2;  // the driver key was deleted while in use; the next attempt completes

// Returned by the step operations of an implementation that cannot do them (ERROR_CALL_NOT_IMPLEMENTED).
inline constexpr unsigned long kErrorNotImplemented = 120;

class CDriverPackage {
 public:
  virtual ~CDriverPackage() = default;

  // Next on the driver-or-printer page while installing. True sends the wizard on to the result page; false keeps
  // it on the page after the failure was shown.
  virtual bool InstallDriverOnly() = 0;        // first option: package into the store, plug and play installs
  virtual bool UpdateDriver() = 0;             // second option: monitor file, package, port refresh, settings upgrade
  virtual bool InstallWithSystemWizard() = 0;  // fourth option: monitor file, then the system's installer, no wait

  // Next on the driver-or-printer page while uninstalling (kFull), and its first initialisation (kPartial with the
  // older name). The number of printers deleted, or kRemovalFailed / kRemovalTryAgain to stay on the page.
  virtual int RemoveDriver(const std::wstring& driver_name, ERemoval removal) = 0;

  // Finish on the result page: deletes stale printer entries of the model when the user agrees to a spooler
  // restart (the implementation asks through WrapRestartSpooler only if it has something to delete and the user
  // has been asked before). Called on every Finish.
  virtual void CleanUpOnFinish() = 0;

  // Steps that creating a printer (printers_ports.h) runs before it adds the printer. Each returns 0 or the
  // platform's error code after showing the failure message.
  virtual unsigned long UpdateMonitorFile() = 0;
  // Uploads "..\InstDisk\vyxqfive.inf" for "Windows x64"; `store_path` receives the package's driver-store path.
  virtual unsigned long UploadPackage(std::wstring& store_path) = 0;
  // Installs the driver "VYX - Q5" from the uploaded package.
  virtual unsigned long InstallFromPackage(const std::wstring& store_path) = 0;
};

// The implementation of a build without the driver package work: every operation the user asked for reports
// that it is not available and fails, so the page stays; the housekeeping calls (the older name's removal, the
// clean-up on finish) only leave a note in the debugger output.
class CUnavailableDriverPackage : public CDriverPackage {
 public:
  CUnavailableDriverPackage(CMessageSink& messages, CDebugOutput& debug) : m_messages(messages), m_debug(debug) {}

  bool InstallDriverOnly() override;
  bool UpdateDriver() override;
  bool InstallWithSystemWizard() override;
  int RemoveDriver(const std::wstring& driver_name, ERemoval removal) override;
  void CleanUpOnFinish() override;
  unsigned long UpdateMonitorFile() override;
  unsigned long UploadPackage(std::wstring& store_path) override;
  unsigned long InstallFromPackage(const std::wstring& store_path) override;

 private:
  CMessageSink& m_messages;
  CDebugOutput& m_debug;
};

// The message of a wizard step this build cannot do: caption "<operation>: not available", `text` as text.
void ShowUnavailableStep(CMessageSink& messages, const std::wstring& operation, const std::wstring& text);

}  // namespace vyx
