// The driver package work of the setup wizard over a CInstallPlatform: installing the package and the driver,
// updating, removing driver, printers, files and settings, and the stale printer entries on finish.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/seams/debug_output.h"
#include "common/seams/message_sink.h"
#include "setup/driver_package.h"
#include "setup/install_platform.h"
#include "setup/wizard_state.h"

namespace vyx {

// Work of other parts of the wizard that the package work calls at its moments.
struct CPackageHooks {
  // WrapRestartSpooler with the wizard's consent: 0 when restarted.
  std::function<int()> restart_spooler;
  // UpgradeAllDevmodes after the driver was installed or updated.
  std::function<int()> upgrade_all_devmodes;
  // The printers' network ports after an update.
  std::function<void()> refresh_network_ports;
};

// The names a driver key lists as its files ("Data File", "Help File", "Configuration File", "Driver", then
// "Dependent Files"), at most kDriverFileListChars characters with their terminators, and its "InfPath".
inline constexpr std::size_t kDriverFileListChars = 1024;  // 2048 bytes
struct CDriverFiles {
  std::vector<std::wstring> names;
  std::wstring inf_path;
};

class CDriverPackageWork : public CDriverPackage {
 public:
  CDriverPackageWork(CInstallPlatform& platform,
                     CWizardState& state,
                     CMessageSink& messages,
                     CDebugOutput& debug,
                     std::wstring (*system_text)(unsigned long error),
                     CPackageHooks hooks)
      : m_platform(platform),
        m_state(state),
        m_messages(messages),
        m_debug(debug),
        m_systemText(system_text),
        m_hooks(std::move(hooks)) {}

  bool InstallDriverOnly() override;
  bool UpdateDriver() override;
  bool InstallWithSystemWizard() override;
  int RemoveDriver(const std::wstring& driver_name, ERemoval removal) override;
  void CleanUpOnFinish() override;
  unsigned long UpdateMonitorFile() override;
  unsigned long UploadPackage(std::wstring& store_path) override;
  unsigned long InstallFromPackage(const std::wstring& store_path) override;

  // The system printer user interface installs the driver from the package's INF file; then waits until the
  // spooler lists it. 0 or the error (shown).
  unsigned long InstallThroughPrintUi();
  // Up to 401 driver enumerations, 100 ms apart, until "VYX - Q5" is listed: 0, else the error (shown as
  // "CheckDriver").
  unsigned long WaitForDriver();
  // Moves the file to its name with "_ScheduledForDeletion<tick>" before the last four characters and marks the
  // new name for deletion at restart: 0 or the error.
  unsigned long RenameForDeletion(const std::wstring& path);
  // Removes the present devices of the printer class named "Zavo B.V.VYX Q5"; false when none could be listed.
  bool RemoveDevices();
  // Asks the platform to enumerate the devices again, so that a connected printer is installed.
  bool ReenumerateDevices();
  // Deletes the settings key of both programs under HKEY_LOCAL_MACHINE and every loaded user hive.
  void CleanUpSettings();
  // The keys under the printers key of printers of this model that the spooler left behind.
  std::vector<std::wstring> CollectStalePrinters();
  // The file list and package path of `driver` from its driver key.
  CDriverFiles ReadDriverFiles(const std::wstring& driver);

 private:
  void ShowFailure(unsigned long error, const std::wstring& caption);
  int RestartSpooler() { return m_hooks.restart_spooler ? m_hooks.restart_spooler() : -1; }
  std::wstring Rundll32() { return m_platform.SystemDirectory() + L"\\rundll32.exe"; }
  std::wstring InstalledMonitorFile() { return m_platform.SystemDirectory() + L"\\" + kMonitorFileName; }
  int DeletePrinters(const std::wstring& driver);
  void DeletePackage(const std::wstring& inf_path);
  void DeleteDriverFiles(const std::vector<std::wstring>& names);
  void DeleteMonitorAndFile();
  void DeleteSettingsKeys(ERegistryRoot hive, const std::wstring& prefix);

  CInstallPlatform& m_platform;
  CWizardState& m_state;
  CMessageSink& m_messages;
  CDebugOutput& m_debug;
  std::wstring (*m_systemText)(unsigned long error);
  CPackageHooks m_hooks;
};

// Whether a key under the printers key is named like a printer the system numbered: a comma followed by one or more
// digits at its end, the comma not among its first two characters ("Label,12" is, "X,1" is not).
bool IsNumberedPrinterKey(const std::wstring& name);

// "_ScheduledForDeletion<tick>" put before the last four characters of `path` (before ".dll").
std::wstring ScheduledForDeletionName(const std::wstring& path, std::uint32_t tick);

}  // namespace vyx
