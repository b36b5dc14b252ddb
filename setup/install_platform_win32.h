// The machine of the driver package work on Windows. The calls that the driver store, device setup, processes and
// files need go through a table, so that tests can answer for a platform that only stubs them (Wine) and give
// the error codes of a real one; spooler enumerations and the registry are called directly.
#pragma once

#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>
#include <shellapi.h>
#include <winspool.h>

#include "setup/install_platform.h"

namespace vyx {

using InstallPrinterDriverFromPackageFn = HRESULT(WINAPI*)(LPCWSTR server, LPCWSTR inf_path, LPCWSTR driver,
                                                           LPCWSTR environment, DWORD flags);
using DeletePrinterDriverPackageFn = HRESULT(WINAPI*)(LPCWSTR server, LPCWSTR inf_path, LPCWSTR environment);

struct CInstallCalls {
  decltype(&UploadPrinterDriverPackageW) upload_package;
  // Resolved from winspool.drv at run time (null when a system lacks them, which fails with 120).
  InstallPrinterDriverFromPackageFn install_from_package;
  DeletePrinterDriverPackageFn delete_package;
  decltype(&DeletePrinterDriverW) delete_driver;
  decltype(&DeleteMonitorW) delete_monitor;
  decltype(&SetupDiGetClassDevsW) get_class_devices;
  decltype(&SetupDiEnumDeviceInfo) enum_device;
  decltype(&SetupDiGetDeviceRegistryPropertyW) device_property;
  decltype(&SetupDiRemoveDevice) remove_device;
  decltype(&SetupDiDestroyDeviceInfoList) destroy_device_list;
  decltype(&CM_Locate_DevNodeW) locate_device;
  decltype(&CM_Reenumerate_DevNode) reenumerate_device;
  decltype(&ShellExecuteExW) shell_execute;
  decltype(&CopyFileW) copy_file;
  decltype(&DeleteFileW) delete_file;
  decltype(&MoveFileExW) move_file;
  decltype(&GetTickCount) tick_count;
  decltype(&Sleep) sleep;
};

// The calls the work makes; the real API unless a test replaced members (restore them after).
CInstallCalls& InstallCalls();
CInstallCalls RealInstallCalls();

class CWin32InstallPlatform : public CInstallPlatform {
 public:
  CWin32InstallPlatform() = default;
  ~CWin32InstallPlatform() override;
  CWin32InstallPlatform(const CWin32InstallPlatform&) = delete;
  CWin32InstallPlatform& operator=(const CWin32InstallPlatform&) = delete;

  unsigned long ListPrinters(std::vector<CPrinterRecord>& printers) override;
  unsigned long DeletePrinter(const std::wstring& name) override;
  unsigned long ListDriverNames(std::vector<std::wstring>& names) override;
  unsigned long RemovePrinterDriver(const std::wstring& driver) override;
  unsigned long UploadPackage(const std::wstring& inf, std::wstring& store_path) override;
  unsigned long InstallFromPackage(const std::wstring& store_path, const std::wstring& driver) override;
  unsigned long DeletePackage(const std::wstring& inf_path) override;
  unsigned long RemoveMonitor(const std::wstring& monitor) override;
  unsigned long DriverDirectory(std::wstring& directory) override;
  bool ListDevices(const std::wstring& device_class, std::vector<std::wstring>& friendly_names) override;
  void RemoveDevice(std::size_t index) override;
  unsigned long LocateRootDevice() override;
  unsigned long ReenumerateRootDevice() override;
  std::wstring SystemDirectory() override;
  std::wstring CurrentDirectory() override;
  bool StampOf(const std::wstring& path, CFileStamp& stamp) override;
  unsigned long CopyFileOver(const std::wstring& from, const std::wstring& to) override;
  unsigned long RemoveFile(const std::wstring& path) override;
  unsigned long RenameFile(const std::wstring& from, const std::wstring& to) override;
  unsigned long DeleteAtRestart(const std::wstring& path) override;
  unsigned long StartHidden(const std::wstring& program, const std::wstring& parameters,
                            const std::wstring& folder) override;
  std::uint32_t TickCount() override;
  void Wait(unsigned milliseconds) override;
  unsigned long OpenKey(ERegistryRoot hive, const std::wstring& key) override;
  unsigned long ReadText(ERegistryRoot hive, const std::wstring& key, const std::wstring& value,
                         std::size_t max_bytes, std::wstring& text) override;
  unsigned long ReadTexts(ERegistryRoot hive, const std::wstring& key, const std::wstring& value,
                          std::vector<std::wstring>& texts) override;
  unsigned long ListSubkeys(ERegistryRoot hive, const std::wstring& key, std::vector<std::wstring>& names) override;
  unsigned long DeleteKey(ERegistryRoot hive, const std::wstring& key) override;
  unsigned long DeleteTree(ERegistryRoot hive, const std::wstring& key) override;

 private:
  HDEVINFO m_devices = INVALID_HANDLE_VALUE;  // the list ListDevices read last
  DWORD m_devNode = 0;                        // the root device node located last
};

}  // namespace vyx
