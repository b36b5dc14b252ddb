// The machine the driver package work acts on: spooler, driver store, devices, files, registry and processes, as
// the calls that work needs. The Windows implementation answers with the platform's own error codes; tests put an
// in-memory machine in its place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/package_names.h"
#include "setup/spooler_queries.h"

namespace vyx {

// Fixed names of the driver package and of what it installs.
inline constexpr const wchar_t* kPackageEnvironment = L"Windows x64";
inline constexpr const wchar_t* kPackageInfPath = L"..\\InstDisk\\vyxqfive.inf";
inline constexpr const wchar_t* kLanguageMonitorName = L"Bidi Language Monitor";
inline constexpr const wchar_t* kMonitorFileOnDisk = L"..\\InstDisk\\AMD64\\Kavmon.dll";
inline constexpr const wchar_t* kMonitorFileName = L"Kavmon.dll";
inline constexpr const wchar_t* kPrinterDeviceClass = L"{62f9c741-b25a-46ce-b54c-9bccce08b6f2}";
inline constexpr const wchar_t* kPrinterDeviceName = L"Zavo B.V.VYX Q5";
inline constexpr const wchar_t* kHardwareIdFragment = L"zavo_b.v.vyx_q5";
inline constexpr const wchar_t* kSpoolerRegistryRoot = L"SYSTEM\\CurrentControlSet\\Control\\Print";
inline constexpr const wchar_t* kProgramSettingsKey = L"Software\\Zavo\\VYX-Q5";
inline constexpr const wchar_t* kVendorKeyPath = L"Software\\Zavo";

// Error codes the work tells apart.
inline constexpr unsigned long kErrorPathNotFound = 3;
inline constexpr unsigned long kErrorAccessDenied = 5;
inline constexpr unsigned long kErrorUnknownPrinterDriver = 1797;
inline constexpr unsigned long kErrorUnknownPrintMonitor = 3000;
inline constexpr unsigned long kErrorPrinterDriverInUse = 3001;
inline constexpr unsigned long kErrorPrintMonitorInUse = 3008;
inline constexpr unsigned long kHresultNoDriverInStore = 0x800F0242;  // the package's driver does not fit this system
inline constexpr unsigned long kHresultPackageInUse = 0x80070BC7;

// The driver key of `driver`: root, "Environments", "Windows x64", "Drivers\Version-3", driver name.
std::wstring DriverKeyPath(const std::wstring& driver);
// The key of the local printers: root and "Printers".
std::wstring PrintersKeyPath();

// The registry roots the work touches.
enum class ERegistryRoot { kLocalMachine, kUsers };

struct CFileStamp {
  std::uint64_t size = 0;
  std::uint64_t written = 0;  // last modification time
};

class CInstallPlatform {
 public:
  virtual ~CInstallPlatform() = default;

  // ---- spooler of the local machine; 0 or the platform's error code ----
  // Level 2; a failing enumeration has shown "WrapEnumPrinters: 1. EnumPrinters" or "2." itself.
  virtual unsigned long ListPrinters(std::vector<CPrinterRecord>& printers) = 0;
  // Opens the printer with all access and deletes it.
  virtual unsigned long DeletePrinter(const std::wstring& name) = 0;
  // Level 3; a failing enumeration has shown "WrapEnumPrinterDrivers: 1. EnumPrinterDrivers" or "2." itself.
  virtual unsigned long ListDriverNames(std::vector<std::wstring>& names) = 0;
  // The default environment.
  virtual unsigned long RemovePrinterDriver(const std::wstring& driver) = 0;
  // "Windows x64", upload always; `store_path` receives the package's path in the driver store.
  virtual unsigned long UploadPackage(const std::wstring& inf, std::wstring& store_path) = 0;
  virtual unsigned long InstallFromPackage(const std::wstring& store_path, const std::wstring& driver) = 0;
  virtual unsigned long DeletePackage(const std::wstring& inf_path) = 0;
  virtual unsigned long RemoveMonitor(const std::wstring& monitor) = 0;  // "Windows x64"
  virtual unsigned long DriverDirectory(std::wstring& directory) = 0;    // "Windows x64"

  // ---- devices ----
  // The friendly names of the present devices of setup class `device_class`; false when the list cannot be read.
  virtual bool ListDevices(const std::wstring& device_class, std::vector<std::wstring>& friendly_names) = 0;
  // Removes the device at `index` of the list last read.
  virtual void RemoveDevice(std::size_t index) = 0;
  virtual unsigned long LocateRootDevice() = 0;
  virtual unsigned long ReenumerateRootDevice() = 0;

  // ---- files and processes ----
  virtual std::wstring SystemDirectory() = 0;
  virtual std::wstring CurrentDirectory() = 0;
  // False when the file cannot be opened.
  virtual bool StampOf(const std::wstring& path, CFileStamp& stamp) = 0;
  virtual unsigned long CopyFileOver(const std::wstring& from, const std::wstring& to) = 0;
  virtual unsigned long RemoveFile(const std::wstring& path) = 0;
  virtual unsigned long RenameFile(const std::wstring& from, const std::wstring& to) = 0;
  // Marks the file for deletion at the next system restart.
  virtual unsigned long DeleteAtRestart(const std::wstring& path) = 0;
  // Verb "open", hidden window, working folder `folder` (empty: this process's).
  virtual unsigned long StartHidden(const std::wstring& program,
                                    const std::wstring& parameters,
                                    const std::wstring& folder) = 0;
  virtual std::uint32_t TickCount() = 0;
  virtual void Wait(unsigned milliseconds) = 0;

  // ---- registry ----
  virtual unsigned long OpenKey(ERegistryRoot hive, const std::wstring& key) = 0;  // 0 when the key exists
  // A text value read into a buffer of `max_bytes` bytes; a list value (several texts) comes as its entries.
  virtual unsigned long ReadText(ERegistryRoot hive,
                                 const std::wstring& key,
                                 const std::wstring& value,
                                 std::size_t max_bytes,
                                 std::wstring& text) = 0;
  virtual unsigned long ReadTexts(ERegistryRoot hive,
                                  const std::wstring& key,
                                  const std::wstring& value,
                                  std::vector<std::wstring>& texts) = 0;
  virtual unsigned long ListSubkeys(ERegistryRoot hive, const std::wstring& key, std::vector<std::wstring>& names) = 0;
  // Deletes a key that has no subkeys (a key with subkeys stays and gives the platform's error).
  virtual unsigned long DeleteKey(ERegistryRoot hive, const std::wstring& key) = 0;
  // Deletes a key with its whole subtree.
  virtual unsigned long DeleteTree(ERegistryRoot hive, const std::wstring& key) = 0;
};

}  // namespace vyx
