// Removing a driver of this model with its printers and, for a full removal, its settings, package, files and
// language monitor; and the stale printer entries the spooler leaves behind.
#include <algorithm>
#include <cwctype>

#include "common/string_ids.h"
#include "setup/driver_package_work.h"

namespace vyx {
namespace {

constexpr std::size_t kDriverValueBytes = 2 * kDriverFileListChars;
constexpr std::size_t kPrinterValueBytes = 128;
constexpr std::size_t kUserHiveNameMin = 20;  // loaded users' hives are named by their long security ids

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

}  // namespace

bool IsNumberedPrinterKey(const std::wstring& name) {
  const std::size_t comma = name.rfind(L',');
  if (comma == std::wstring::npos || comma < 2 || comma + 1 == name.size()) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(comma) + 1, name.end(),
                     [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

int CDriverPackageWork::DeletePrinters(const std::wstring& driver) {
  std::vector<CPrinterRecord> printers;
  if (m_platform.ListPrinters(printers) != 0) return kRemovalFailed;
  int deleted = 0;
  for (const CPrinterRecord& printer : printers) {
    if (printer.driver != driver) continue;
    const unsigned long error = m_platform.DeletePrinter(printer.name);
    if (error == 0) {
      ++deleted;
    } else if (error != kErrorInvalidPrinterName) {
      ShowFailure(error, printer.name);
    }
  }
  return deleted;
}

CDriverFiles CDriverPackageWork::ReadDriverFiles(const std::wstring& driver) {
  CDriverFiles files;
  const std::wstring key = DriverKeyPath(driver);
  unsigned long error = m_platform.OpenKey(ERegistryRoot::kLocalMachine, key);
  if (error != 0) {
    if (error != kErrorFileNotFound) ShowFailure(error, key);
    m_debug.Print(L"reading InfPath failed\n");
    return files;
  }
  // The names one after another with their terminators, as the spooler's 2048-byte list holds them.
  std::size_t used = 0;
  auto keep = [&](const std::wstring& name) {
    if (name.empty() || used + name.size() + 1 > kDriverFileListChars) return;
    used += name.size() + 1;
    files.names.push_back(name);
  };
  for (const wchar_t* value : {L"Data File", L"Help File", L"Configuration File", L"Driver"}) {
    std::wstring name;
    error = m_platform.ReadText(ERegistryRoot::kLocalMachine, key, value, kDriverValueBytes, name);
    if (error == 0) {
      keep(name);
    } else if (error != kErrorFileNotFound) {
      ShowFailure(error, value);  // an absent value is a file the driver does not have
    }
  }
  std::vector<std::wstring> dependent;
  error = m_platform.ReadTexts(ERegistryRoot::kLocalMachine, key, L"Dependent Files", dependent);
  if (error != 0 && error != kErrorFileNotFound) ShowFailure(error, L"Dependent Files");
  for (const std::wstring& name : dependent) keep(name);
  error = m_platform.ReadText(ERegistryRoot::kLocalMachine, key, L"InfPath", kDriverValueBytes, files.inf_path);
  if (error != 0) {
    files.inf_path.clear();
    m_debug.Print(L"reading InfPath failed\n");
  }
  return files;
}

void CDriverPackageWork::DeleteSettingsKeys(ERegistryRoot hive, const std::wstring& prefix) {
  const std::wstring settings = prefix + kProgramSettingsKey;
  const unsigned long error = m_platform.DeleteTree(hive, settings);
  if (error == kErrorAccessDenied) ShowFailure(error, kProgramSettingsKey);
  // The vendor key stays when other products of the vendor keep their settings under it.
  m_platform.DeleteKey(hive, prefix + kVendorKeyPath);
}

void CDriverPackageWork::CleanUpSettings() {
  DeleteSettingsKeys(ERegistryRoot::kLocalMachine, {});
  std::vector<std::wstring> users;
  if (m_platform.ListSubkeys(ERegistryRoot::kUsers, {}, users) != 0) return;
  for (const std::wstring& user : users) {
    if (user.size() < kUserHiveNameMin || EndsWith(user, L"_Classes")) continue;
    DeleteSettingsKeys(ERegistryRoot::kUsers, user + L"\\");
  }
}

void CDriverPackageWork::DeletePackage(const std::wstring& inf_path) {
  if (inf_path.empty()) {
    m_debug.Print(L"RemoveDriver: no package path, the driver store keeps the package\n");
    return;
  }
  unsigned long result = m_platform.DeletePackage(inf_path);
  if (result == kHresultPackageInUse) {
    m_platform.Wait(2000);
    result = m_platform.DeletePackage(inf_path);
    if (result == kHresultPackageInUse && RestartSpooler() == 0) result = m_platform.DeletePackage(inf_path);
  }
  if (result != 0) ShowFailure(result, L"DeletePrinterDriverPackage");
}

void CDriverPackageWork::DeleteDriverFiles(const std::vector<std::wstring>& names) {
  std::wstring directory;
  if (m_platform.DriverDirectory(directory) != 0) return;
  for (const std::wstring& name : names) {
    const std::wstring path = directory + L"\\3\\" + name;
    const unsigned long error = m_platform.RemoveFile(path);
    // A file in use goes at the next restart; one already gone (listed twice) needs nothing.
    if (error != 0 && error != kErrorFileNotFound && error != kErrorPathNotFound) RenameForDeletion(path);
  }
}

void CDriverPackageWork::DeleteMonitorAndFile() {
  unsigned long error = m_platform.RemoveMonitor(kLanguageMonitorName);
  if (error == kErrorPrintMonitorInUse && RestartSpooler() == 0) error = m_platform.RemoveMonitor(kLanguageMonitorName);
  // A monitor that is not installed is already removed.
  if (error != 0 && error != kErrorUnknownPrintMonitor) ShowFailure(error, L"DeleteMonitor");
  const std::wstring file = InstalledMonitorFile();
  error = m_platform.RemoveFile(file);
  if (error != 0 && error != kErrorFileNotFound && error != kErrorPathNotFound && RenameForDeletion(file) == 0) {
    m_platform.RemoveFile(file);
  }
}

int CDriverPackageWork::RemoveDriver(const std::wstring& driver_name, ERemoval removal) {
  const int deleted = DeletePrinters(driver_name);
  if (deleted < 0) return kRemovalFailed;
  const bool full = removal == ERemoval::kFull;
  CDriverFiles files;
  if (full) {
    CleanUpSettings();
    files = ReadDriverFiles(driver_name);
  }

  unsigned long error = m_platform.RemovePrinterDriver(driver_name);
  if (error == kErrorUnknownPrinterDriver) error = 0;
  if (error != 0 && error != kErrorPrinterDriverInUse) ShowFailure(error, L"DeletePrinterDriver");
  if (error == kErrorPrinterDriverInUse) {
    m_messages.Show(m_state.language.GetString(kStrDriverInUse), m_state.language.GetString(kStrSetupCaption),
                    kMbOk | kMbIconWarning);
    const std::wstring key = DriverKeyPath(driver_name);
    if (m_platform.DeleteTree(ERegistryRoot::kLocalMachine, key) == kErrorAccessDenied)
      ShowFailure(kErrorAccessDenied, key);
    error = m_platform.RemovePrinterDriver(driver_name);
    if (error == 0 || error == kErrorUnknownPrinterDriver) return kRemovalTryAgain;
    if (error != kErrorPrinterDriverInUse) {
      ShowFailure(error, L"DeletePrinterDriver");
      return kRemovalTryAgain;
    }
    if (RestartSpooler() != 0) return kRemovalFailed;
    error = m_platform.RemovePrinterDriver(driver_name);
    if (error == kErrorUnknownPrinterDriver) error = 0;
    if (error != 0 && error != kErrorPrinterDriverInUse) ShowFailure(error, L"DeletePrinterDriver");
  }
  if (error != 0) return kRemovalFailed;
  if (!full) return deleted;

  DeletePackage(files.inf_path);
  DeleteDriverFiles(files.names);
  DeleteMonitorAndFile();
  return deleted;
}

std::vector<std::wstring> CDriverPackageWork::CollectStalePrinters() {
  std::vector<std::wstring> stale;
  const std::wstring root = PrintersKeyPath();
  std::vector<std::wstring> names;
  if (m_platform.ListSubkeys(ERegistryRoot::kLocalMachine, root, names) != 0) return stale;
  for (const std::wstring& name : names) {
    if (!IsNumberedPrinterKey(name)) continue;
    const std::wstring key = root + L"\\" + name;
    std::wstring driver;
    if (m_platform.ReadText(ERegistryRoot::kLocalMachine, key, L"Printer Driver", kPrinterValueBytes, driver) != 0 ||
        driver != kDriverName) {
      continue;
    }
    const std::wstring pnp = key + L"\\PnPData";
    bool is_stale = m_platform.OpenKey(ERegistryRoot::kLocalMachine, pnp) != 0;
    if (!is_stale) {
      std::wstring hardware_id;
      is_stale =
          m_platform.ReadText(ERegistryRoot::kLocalMachine, pnp, L"HardwareID", kPrinterValueBytes, hardware_id) == 0 &&
          Lower(hardware_id).find(kHardwareIdFragment) != std::wstring::npos;
    }
    if (is_stale) stale.push_back(key);
  }
  return stale;
}

void CDriverPackageWork::CleanUpOnFinish() {
  const std::vector<std::wstring> stale = CollectStalePrinters();
  // Only a spooler that is down forgets these keys; restart only with the consent the user already gave.
  if (stale.empty() || m_state.restart_consent == kConsentNotAsked || RestartSpooler() != 0) return;
  for (const std::wstring& key : stale) m_platform.DeleteTree(ERegistryRoot::kLocalMachine, key);
}

}  // namespace vyx
