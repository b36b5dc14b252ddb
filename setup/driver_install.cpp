// Putting the driver package into the driver store and installing the driver: upload, install from the store, the
// system printer user interface as the fallback, the language monitor file, devices, and the three install kinds.
#include <algorithm>
#include <cstdio>

#include "common/failure_message.h"
#include "setup/driver_package_work.h"

namespace vyx {
namespace {

// The driver wait: a counter from 0 in steps of 100 while it is at most 40000 (401 enumerations), 100 ms apart.
constexpr unsigned kDriverWaitStep = 100;
constexpr unsigned kDriverWaitLimit = 40000;

std::wstring Hex(unsigned long code) {
  wchar_t text[16] = {};
  std::swprintf(text, 16, L"%lx", code);
  return text;
}

}  // namespace

std::wstring DriverKeyPath(const std::wstring& driver) {
  return std::wstring(kSpoolerRegistryRoot) + L"\\Environments\\" + kPackageEnvironment + L"\\Drivers\\Version-3\\" +
         driver;
}

std::wstring PrintersKeyPath() {
  return std::wstring(kSpoolerRegistryRoot) + L"\\Printers";
}

std::wstring ScheduledForDeletionName(const std::wstring& path, std::uint32_t tick) {
  const std::size_t at = path.size() < 4 ? 0 : path.size() - 4;
  return path.substr(0, at) + L"_ScheduledForDeletion" + std::to_wstring(tick) + path.substr(at);
}

void CDriverPackageWork::ShowFailure(unsigned long error, const std::wstring& caption) {
  ShowFailureMessage(m_messages, error, caption, m_systemText);
}

unsigned long CDriverPackageWork::UploadPackage(std::wstring& store_path) {
  store_path.clear();
  const unsigned long result = m_platform.UploadPackage(kPackageInfPath, store_path);
  if (result != 0) ShowFailure(result, L"UploadPrinterDriverPackage");
  return result;
}

unsigned long CDriverPackageWork::InstallFromPackage(const std::wstring& store_path) {
  const unsigned long result = m_platform.InstallFromPackage(store_path, kDriverName);
  if (result != 0) ShowFailure(result, L"InstallPrinterDriverFromPackage");
  return result;
}

unsigned long CDriverPackageWork::InstallThroughPrintUi() {
  const std::wstring parameters =
      std::wstring(kPrintUiEntry) + L" /ia /f \"" + kPackageInfName + L"\" /m \"" + kDriverName + L"\"";
  const unsigned long error = m_platform.StartHidden(Rundll32(), parameters, kInstallDiskFolder);
  if (error != 0) {
    ShowFailure(error, parameters);
    return error;
  }
  return WaitForDriver();
}

unsigned long CDriverPackageWork::WaitForDriver() {
  // A driver that never shows is a failure even when every enumeration worked: then it is reported as unknown.
  unsigned long last = kErrorUnknownPrinterDriver;
  for (unsigned counter = 0; counter <= kDriverWaitLimit; counter += kDriverWaitStep) {
    if (counter != 0) m_platform.Wait(kDriverWaitStep);
    std::vector<std::wstring> names;
    const unsigned long error = m_platform.ListDriverNames(names);
    if (error != 0) {
      last = error;
      continue;
    }
    if (std::find(names.begin(), names.end(), kDriverName) != names.end()) return 0;
  }
  ShowFailure(last, L"CheckDriver");
  return last;
}

unsigned long CDriverPackageWork::UpdateMonitorFile() {
  const std::wstring installed = InstalledMonitorFile();
  CFileStamp old_stamp, new_stamp;
  // A monitor not installed yet counts as current: the package installs it.
  if (!m_platform.StampOf(installed, old_stamp) || !m_platform.StampOf(kMonitorFileOnDisk, new_stamp)) return 0;
  if (old_stamp.size == new_stamp.size && old_stamp.written == new_stamp.written) return 0;
  RenameForDeletion(installed);
  const unsigned long error = m_platform.CopyFileOver(kMonitorFileOnDisk, installed);
  if (error != 0) {
    ShowFailure(error, L"UpdateMonitorFile: CopyFile");
    return error;
  }
  RestartSpooler();  // the spooler loads the new monitor; a refusal leaves the old one running until restart
  return 0;
}

unsigned long CDriverPackageWork::RenameForDeletion(const std::wstring& path) {
  const std::wstring scheduled = ScheduledForDeletionName(path, m_platform.TickCount());
  const unsigned long error = m_platform.RenameFile(path, scheduled);
  if (error != 0) return error;
  return m_platform.DeleteAtRestart(scheduled);
}

bool CDriverPackageWork::RemoveDevices() {
  std::vector<std::wstring> names;
  if (!m_platform.ListDevices(kPrinterDeviceClass, names)) return false;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == kPrinterDeviceName) m_platform.RemoveDevice(i);
  }
  return true;
}

bool CDriverPackageWork::ReenumerateDevices() {
  unsigned long error = m_platform.LocateRootDevice();
  if (error != 0) {
    m_debug.Print(L"CM_Locate_DevNode failed: " + Hex(error) + L"\n");
    return false;
  }
  error = m_platform.ReenumerateRootDevice();
  if (error != 0) m_debug.Print(L"CM_Reenumerate_DevNode failed: " + Hex(error) + L"\n");
  return error == 0;
}

bool CDriverPackageWork::InstallDriverOnly() {
  RemoveDevices();
  UpdateMonitorFile();
  std::wstring store_path;
  unsigned long result = UploadPackage(store_path);
  if (result == kHresultNoDriverInStore) {
    // The system installs the driver itself and then the store takes the package.
    if (InstallThroughPrintUi() != 0) return false;
    const unsigned long error = m_platform.RemovePrinterDriver(kDriverName);
    if (error == kErrorPrinterDriverInUse) return false;
    if (error != 0 && error != kErrorUnknownPrinterDriver) {
      ShowFailure(error, L"DeletePrinterDriver");
      return false;
    }
    result = UploadPackage(store_path);
  }
  if (result != 0) return false;
  ReenumerateDevices();  // a connected printer is installed by plug and play
  return true;
}

bool CDriverPackageWork::UpdateDriver() {
  UpdateMonitorFile();
  std::wstring store_path;
  if (UploadPackage(store_path) == 0 && InstallFromPackage(store_path) == 0) {
    if (m_hooks.refresh_network_ports) m_hooks.refresh_network_ports();
    if (m_hooks.upgrade_all_devmodes) m_hooks.upgrade_all_devmodes();
    return true;
  }
  if (InstallThroughPrintUi() != 0) return false;
  if (m_hooks.upgrade_all_devmodes) m_hooks.upgrade_all_devmodes();
  return true;
}

bool CDriverPackageWork::InstallWithSystemWizard() {
  UpdateMonitorFile();
  const std::wstring parameters = std::wstring(kPrintUiEntry) + L" /ii /f \"" + m_platform.CurrentDirectory() +
                                  L"\\..\\InstDisk\\" + kPackageInfName + L"\"";
  const unsigned long error = m_platform.StartHidden(Rundll32(), parameters, {});
  if (error != 0) m_debug.Print(L"InstallWithSystemWizard: starting rundll32.exe failed: " + Hex(error) + L"\n");
  return true;
}

}  // namespace vyx
