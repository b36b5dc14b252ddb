// An in-memory Windows machine for the setup wizard's work: spooler (printers, drivers with their keys and files,
// driver store, monitors), devices, files (some in use), registry hives, processes started and the tick count. It
// answers the platform calls with the platform's error codes and restarts its spooler as the service would, which
// releases whatever the spooler held. Tests set it up, run the wizard's work on it and read what it did.
#pragma once

#include <algorithm>
#include <cwctype>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/install_platform.h"
#include "setup/spooler_restart.h"
#include "setup/wizard_state.h"

namespace vyx::testing {

class CStandInMachine : public CInstallPlatform, public CSpoolerService {
 public:
  struct CDriver {
    std::wstring data, help, config, driver;
    std::vector<std::wstring> dependent;
    std::wstring inf_path;  // in the driver store
    bool in_use = false;    // deleting answers 3001 until the spooler restarts
  };
  struct CFile {
    std::uint64_t size = 0;
    std::uint64_t written = 0;
    bool in_use = false;  // deleting answers 5 and copying over answers 32; moving works, as for a loaded library
  };
  struct CKey {
    std::map<std::wstring, std::vector<std::wstring>> values;  // one entry for a text, several for a list
  };

  // ---- the machine ----
  std::vector<CPrinterRecord> printers;
  std::map<std::wstring, CDriver> drivers;
  std::set<std::wstring> store;  // package paths in the driver store
  std::set<std::wstring> packages_in_use;
  std::map<std::wstring, bool> monitors;  // name -> in use
  std::map<std::wstring, CFile> files;    // full paths
  std::vector<std::wstring> restart_deletions;
  std::vector<std::wstring> devices;  // friendly names of the present printer devices
  struct CCaseLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const { return Lower(a) < Lower(b); }
  };
  std::map<std::wstring, CKey, CCaseLess> registry;  // "HKLM\..." and "HKU\..." paths, compared without case
  std::uint32_t tick = 4242;
  std::wstring system_directory = L"C:\\Windows\\system32";
  std::wstring current_directory = L"D:\\Setup";
  std::wstring driver_directory = L"C:\\Windows\\system32\\spool\\drivers\\x64";

  // ---- scripted answers: consumed one per call; 0 or nothing queued lets the machine do the work ----
  std::deque<unsigned long> upload_answers, install_answers, start_answers, list_printers_answers;
  std::deque<unsigned long> stop_answers, start_service_answers;
  bool printui_installs_driver = true;  // rundll32 with "/ia" adds "VYX - Q5" to the drivers
  bool devices_listable = true;
  unsigned long locate_error = 0, reenumerate_error = 0;

  // ---- what happened ----
  std::vector<std::wstring> calls;
  std::vector<std::wstring> started;  // "program | parameters | folder"
  int restarts = 0;
  unsigned waited_ms = 0;

  // A driver "VYX - Q5"-like entry with its key, files in the driver directory and package in the store.
  void AddDriver(const std::wstring& name, const CDriver& driver) {
    drivers[name] = driver;
    CKey& key = Key(L"HKLM\\" + DriverKeyPath(name));
    key.values[L"Data File"] = {driver.data};
    key.values[L"Help File"] = {driver.help};
    key.values[L"Configuration File"] = {driver.config};
    key.values[L"Driver"] = {driver.driver};
    key.values[L"Dependent Files"] = driver.dependent;
    if (!driver.inf_path.empty()) {
      key.values[L"InfPath"] = {driver.inf_path};
      store.insert(driver.inf_path);
    }
    for (const std::wstring* file : {&driver.data, &driver.help, &driver.config, &driver.driver}) {
      if (!file->empty()) files[driver_directory + L"\\3\\" + *file] = {};
    }
    for (const std::wstring& file : driver.dependent) files[driver_directory + L"\\3\\" + file] = {};
  }
  void SetValue(const std::wstring& key, const std::wstring& value, const std::wstring& text) {
    Key(key).values[value] = {text};
  }
  void AddKey(const std::wstring& key) { Key(key); }
  // The key with every key above it, as the registry holds them.
  CKey& Key(const std::wstring& path) {
    for (std::size_t slash = path.find(L'\\'); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1)) {
      registry[path.substr(0, slash)];
    }
    return registry[path];
  }
  bool HasKey(const std::wstring& key) const { return registry.count(key) != 0; }
  std::wstring MonitorFile() const { return system_directory + L"\\Kavmon.dll"; }
  bool HasDriver(const std::wstring& name) const { return drivers.count(name) != 0; }

  // ---- CInstallPlatform ----
  unsigned long ListPrinters(std::vector<CPrinterRecord>& out) override {
    calls.push_back(L"EnumPrinters");
    if (const unsigned long error = Next(list_printers_answers)) return error;
    out = printers;
    return 0;
  }
  unsigned long DeletePrinter(const std::wstring& name) override {
    calls.push_back(L"DeletePrinter " + name);
    const auto found = std::find_if(printers.begin(), printers.end(), [&](const auto& p) { return p.name == name; });
    if (found == printers.end()) return kErrorInvalidPrinterName;
    printers.erase(found);
    return 0;
  }
  unsigned long ListDriverNames(std::vector<std::wstring>& names) override {
    names.clear();
    for (const auto& [name, driver] : drivers) names.push_back(name);
    return 0;
  }
  unsigned long RemovePrinterDriver(const std::wstring& name) override {
    calls.push_back(L"DeletePrinterDriver " + name);
    const auto found = drivers.find(name);
    if (found == drivers.end()) return kErrorUnknownPrinterDriver;
    if (found->second.in_use) return kErrorPrinterDriverInUse;
    const bool used = std::any_of(printers.begin(), printers.end(), [&](const auto& p) { return p.driver == name; });
    if (used) return kErrorPrinterDriverInUse;
    drivers.erase(found);
    EraseTree(L"HKLM\\" + DriverKeyPath(name));
    return 0;
  }
  unsigned long UploadPackage(const std::wstring& inf, std::wstring& store_path) override {
    calls.push_back(L"UploadPackage " + inf);
    if (const unsigned long error = Next(upload_answers)) return error;
    store_path = L"C:\\Windows\\System32\\DriverStore\\FileRepository\\vyxqfive.inf_amd64\\vyxqfive.inf";
    store.insert(store_path);
    return 0;
  }
  unsigned long InstallFromPackage(const std::wstring& store_path, const std::wstring& driver) override {
    calls.push_back(L"InstallFromPackage " + driver);
    if (const unsigned long error = Next(install_answers)) return error;
    if (store.count(store_path) == 0) return kErrorFileNotFound;
    CDriver installed;
    installed.driver = L"vyxq5.dll";
    installed.inf_path = store_path;
    AddDriver(driver, installed);
    return 0;
  }
  unsigned long DeletePackage(const std::wstring& inf_path) override {
    calls.push_back(L"DeletePackage " + inf_path);
    if (packages_in_use.count(inf_path) != 0) return kHresultPackageInUse;
    return store.erase(inf_path) != 0 ? 0 : kErrorFileNotFound;
  }
  unsigned long RemoveMonitor(const std::wstring& monitor) override {
    calls.push_back(L"DeleteMonitor " + monitor);
    const auto found = monitors.find(monitor);
    if (found == monitors.end()) return kErrorUnknownPrintMonitor;
    if (found->second) return kErrorPrintMonitorInUse;
    monitors.erase(found);
    return 0;
  }
  unsigned long DriverDirectory(std::wstring& directory) override {
    directory = driver_directory;
    return 0;
  }
  bool ListDevices(const std::wstring& device_class, std::vector<std::wstring>& names) override {
    calls.push_back(L"ListDevices " + device_class);
    names = devices;
    return devices_listable;
  }
  void RemoveDevice(std::size_t index) override {
    calls.push_back(L"RemoveDevice " + devices.at(index));
    devices[index] += L" (removed)";
  }
  unsigned long LocateRootDevice() override { return locate_error; }
  unsigned long ReenumerateRootDevice() override {
    calls.push_back(L"ReenumerateDevices");
    return reenumerate_error;
  }
  std::wstring SystemDirectory() override { return system_directory; }
  std::wstring CurrentDirectory() override { return current_directory; }
  bool StampOf(const std::wstring& path, CFileStamp& stamp) override {
    const auto found = files.find(Full(path));
    if (found == files.end()) return false;
    stamp = {found->second.size, found->second.written};
    return true;
  }
  unsigned long CopyFileOver(const std::wstring& from, const std::wstring& to) override {
    calls.push_back(L"CopyFile " + from + L" -> " + to);
    const auto source = files.find(Full(from));
    if (source == files.end()) return kErrorFileNotFound;
    const auto target = files.find(Full(to));
    if (target != files.end() && target->second.in_use) return 32;  // sharing violation
    files[Full(to)] = {source->second.size, source->second.written, false};
    return 0;
  }
  unsigned long RemoveFile(const std::wstring& path) override {
    calls.push_back(L"DeleteFile " + path);
    const auto found = files.find(Full(path));
    if (found == files.end()) return kErrorFileNotFound;
    if (found->second.in_use) return kErrorAccessDenied;
    files.erase(found);
    return 0;
  }
  unsigned long RenameFile(const std::wstring& from, const std::wstring& to) override {
    calls.push_back(L"MoveFile " + from + L" -> " + to);
    const auto found = files.find(Full(from));
    if (found == files.end()) return kErrorFileNotFound;
    if (files.count(Full(to)) != 0) return 183;  // already exists
    files[Full(to)] = found->second;
    files.erase(found);
    return 0;
  }
  unsigned long DeleteAtRestart(const std::wstring& path) override {
    if (files.count(Full(path)) == 0) return kErrorFileNotFound;
    restart_deletions.push_back(path);
    return 0;
  }
  unsigned long StartHidden(const std::wstring& program,
                            const std::wstring& parameters,
                            const std::wstring& folder) override {
    started.push_back(program + L" | " + parameters + L" | " + folder);
    if (const unsigned long error = Next(start_answers)) return error;
    if (printui_installs_driver && parameters.find(L" /ia ") != std::wstring::npos) AddDriver(kDriverName, {});
    return 0;
  }
  std::uint32_t TickCount() override { return tick; }
  void Wait(unsigned milliseconds) override { waited_ms += milliseconds; }

  unsigned long OpenKey(ERegistryRoot hive, const std::wstring& key) override {
    return HasKey(Path(hive, key)) ? 0 : kErrorFileNotFound;
  }
  unsigned long ReadText(ERegistryRoot hive,
                         const std::wstring& key,
                         const std::wstring& value,
                         std::size_t max_bytes,
                         std::wstring& text) override {
    std::vector<std::wstring> texts;
    if (const unsigned long error = ReadTexts(hive, key, value, texts)) return error;
    if (texts.size() != 1) return 13;                       // invalid data: not a single text
    if ((texts[0].size() + 1) * 2 > max_bytes) return 234;  // more data than the buffer holds
    text = texts[0];
    return 0;
  }
  unsigned long ReadTexts(ERegistryRoot hive,
                          const std::wstring& key,
                          const std::wstring& value,
                          std::vector<std::wstring>& texts) override {
    const auto found = registry.find(Path(hive, key));
    if (found == registry.end()) return kErrorFileNotFound;
    const auto entry = found->second.values.find(value);
    if (entry == found->second.values.end()) return kErrorFileNotFound;
    texts = entry->second;
    return 0;
  }
  unsigned long ListSubkeys(ERegistryRoot hive, const std::wstring& key, std::vector<std::wstring>& names) override {
    const std::wstring parent = Lower(Path(hive, key)) + L"\\";
    names.clear();
    for (const auto& [path, entry] : registry) {
      if (Lower(path).rfind(parent, 0) != 0) continue;
      const std::wstring rest = path.substr(parent.size());
      if (rest.find(L'\\') == std::wstring::npos) names.push_back(rest);
    }
    return 0;
  }
  unsigned long DeleteKey(ERegistryRoot hive, const std::wstring& key) override {
    const std::wstring path = Lower(Path(hive, key));
    if (registry.count(path) == 0) return kErrorFileNotFound;
    for (const auto& [other, entry] : registry) {
      if (Lower(other).rfind(path + L"\\", 0) == 0) return kErrorAccessDenied;  // has subkeys
    }
    if (protected_keys.count(path) != 0) return kErrorAccessDenied;
    registry.erase(path);
    return 0;
  }
  unsigned long DeleteTree(ERegistryRoot hive, const std::wstring& key) override {
    const std::wstring path = Lower(Path(hive, key));
    calls.push_back(L"DeleteTree " + Path(hive, key));
    if (protected_keys.count(path) != 0) return kErrorAccessDenied;
    if (!EraseTree(path)) return kErrorFileNotFound;
    // The spooler forgets a driver whose key is gone.
    for (auto it = drivers.begin(); it != drivers.end();) {
      it = Lower(L"HKLM\\" + DriverKeyPath(it->first)) == path ? drivers.erase(it) : std::next(it);
    }
    return 0;
  }
  std::set<std::wstring> protected_keys;  // lower-case paths whose deletion is denied

  // ---- CSpoolerService: a restart releases what the spooler held ----
  unsigned long Stop() override {
    calls.push_back(L"StopSpooler");
    return Next(stop_answers);
  }
  unsigned long Start() override {
    calls.push_back(L"StartSpooler");
    if (const unsigned long error = Next(start_service_answers)) return error;
    ++restarts;
    for (auto& [name, driver] : drivers) driver.in_use = false;
    for (auto& [name, in_use] : monitors) in_use = false;
    for (auto& [path, file] : files) file.in_use = false;
    packages_in_use.clear();
    return 0;
  }

  static std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
  }

 private:
  static unsigned long Next(std::deque<unsigned long>& answers) {
    if (answers.empty()) return 0;
    const unsigned long answer = answers.front();
    answers.pop_front();
    return answer;
  }
  static std::wstring Path(ERegistryRoot hive, const std::wstring& key) {
    const std::wstring root = hive == ERegistryRoot::kLocalMachine ? L"HKLM" : L"HKU";
    return key.empty() ? root : root + L"\\" + key;
  }
  // Relative paths are taken from the current directory, as the programs' relative paths are.
  std::wstring Full(const std::wstring& path) const {
    return path.rfind(L"..\\", 0) == 0 ? current_directory + L"\\" + path : path;
  }
  bool EraseTree(const std::wstring& lower_path) {
    const std::wstring path = Lower(lower_path);
    bool any = registry.erase(path) != 0;
    for (auto it = registry.begin(); it != registry.end();) {
      if (Lower(it->first).rfind(path + L"\\", 0) == 0) {
        it = registry.erase(it);
        any = true;
      } else {
        ++it;
      }
    }
    return any;
  }
};

}  // namespace vyx::testing
