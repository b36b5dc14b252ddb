// The driver package work's calls on Windows: spooler, driver store, device setup, files, processes, registry.
#include "setup/install_platform_win32.h"

#include <algorithm>

#include "setup/spooler_enum_win32.h"

namespace vyx {
namespace {

constexpr DWORD kUploadAlways = 0x00000002;  // kUploadAlways

// The printer device setup class {62f9c741-b25a-46ce-b54c-9bccce08b6f2}.
constexpr GUID kPrinterClassGuid = {0x62f9c741, 0xb25a, 0x46ce, {0xb5, 0x4c, 0x9b, 0xcc, 0xce, 0x08, 0xb6, 0xf2}};

HMODULE Spooler() {
  return GetModuleHandleW(L"winspool.drv");
}

CInstallCalls g_calls = RealInstallCalls();

// The error a failed call left; a platform that reports failure without a code still fails.
DWORD LastError() {
  const DWORD error = GetLastError();
  return error != 0 ? error : ERROR_GEN_FAILURE;
}

HKEY Root(ERegistryRoot hive) {
  return hive == ERegistryRoot::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_USERS;
}

// Opens `key` under the hive (the hive itself for an empty path).
LSTATUS Open(ERegistryRoot hive, const std::wstring& key, REGSAM access, HKEY& opened) {
  return RegOpenKeyExW(Root(hive), key.empty() ? nullptr : key.c_str(), 0, access, &opened);
}

}  // namespace

CInstallCalls RealInstallCalls() {
  return {&UploadPrinterDriverPackageW,
          reinterpret_cast<InstallPrinterDriverFromPackageFn>(
              reinterpret_cast<void*>(GetProcAddress(Spooler(), "InstallPrinterDriverFromPackageW"))),
          reinterpret_cast<DeletePrinterDriverPackageFn>(
              reinterpret_cast<void*>(GetProcAddress(Spooler(), "DeletePrinterDriverPackageW"))),
          &DeletePrinterDriverW,
          &DeleteMonitorW,
          &SetupDiGetClassDevsW,
          &SetupDiEnumDeviceInfo,
          &SetupDiGetDeviceRegistryPropertyW,
          &SetupDiRemoveDevice,
          &SetupDiDestroyDeviceInfoList,
          &CM_Locate_DevNodeW,
          &CM_Reenumerate_DevNode,
          &ShellExecuteExW,
          &CopyFileW,
          &DeleteFileW,
          &MoveFileExW,
          &GetTickCount,
          &Sleep};
}

CInstallCalls& InstallCalls() {
  return g_calls;
}

CWin32InstallPlatform::~CWin32InstallPlatform() {
  if (m_devices != INVALID_HANDLE_VALUE) g_calls.destroy_device_list(m_devices);
}

unsigned long CWin32InstallPlatform::ListPrinters(std::vector<CPrinterRecord>& printers) {
  return ListLocalPrinters(printers);
}

unsigned long CWin32InstallPlatform::DeletePrinter(const std::wstring& name) {
  PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &all)) return LastError();
  DWORD error = 0;
  if (!::DeletePrinter(printer)) error = LastError();
  ClosePrinter(printer);
  return error;
}

unsigned long CWin32InstallPlatform::ListDriverNames(std::vector<std::wstring>& names) {
  std::vector<BYTE> buffer;
  DWORD count = 0;
  if (const DWORD error = WrapEnumPrinterDrivers(3, buffer, count)) return error;
  names.clear();
  const DRIVER_INFO_3W* drivers = EntriesOf<DRIVER_INFO_3W>(buffer);
  for (DWORD i = 0; i < count; ++i) names.emplace_back(drivers[i].pName ? drivers[i].pName : L"");
  return 0;
}

unsigned long CWin32InstallPlatform::RemovePrinterDriver(const std::wstring& driver) {
  SetLastError(0);
  if (g_calls.delete_driver(nullptr, nullptr, const_cast<wchar_t*>(driver.c_str()))) return 0;
  const DWORD error = GetLastError();
  if (error != 0) return error;
  // Failed without saying why: a driver that is not there is what the spooler had nothing to delete for.
  std::vector<std::wstring> names;
  if (ListDriverNames(names) == 0 && std::find(names.begin(), names.end(), driver) == names.end()) {
    return ERROR_UNKNOWN_PRINTER_DRIVER;
  }
  return ERROR_GEN_FAILURE;
}

unsigned long CWin32InstallPlatform::UploadPackage(const std::wstring& inf, std::wstring& store_path) {
  wchar_t path[520] = {};
  ULONG size = 520;
  const HRESULT result =
      g_calls.upload_package(nullptr, inf.c_str(), kPackageEnvironment, kUploadAlways, GetActiveWindow(), path,
                             &size);
  store_path = SUCCEEDED(result) ? path : L"";
  return static_cast<unsigned long>(result);
}

unsigned long CWin32InstallPlatform::InstallFromPackage(const std::wstring& store_path, const std::wstring& driver) {
  if (g_calls.install_from_package == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
  return static_cast<unsigned long>(
      g_calls.install_from_package(nullptr, store_path.c_str(), driver.c_str(), kPackageEnvironment, 0));
}

unsigned long CWin32InstallPlatform::DeletePackage(const std::wstring& inf_path) {
  if (g_calls.delete_package == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
  return static_cast<unsigned long>(g_calls.delete_package(nullptr, inf_path.c_str(), nullptr));
}

unsigned long CWin32InstallPlatform::RemoveMonitor(const std::wstring& monitor) {
  SetLastError(0);
  if (g_calls.delete_monitor(nullptr, const_cast<wchar_t*>(kPackageEnvironment),
                             const_cast<wchar_t*>(monitor.c_str()))) {
    return 0;
  }
  return LastError();
}

unsigned long CWin32InstallPlatform::DriverDirectory(std::wstring& directory) {
  wchar_t path[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(kPackageEnvironment), 1,
                                  reinterpret_cast<BYTE*>(path), sizeof path, &needed)) {
    return LastError();
  }
  directory = path;
  return 0;
}

bool CWin32InstallPlatform::ListDevices(const std::wstring& device_class, std::vector<std::wstring>& names) {
  names.clear();
  if (m_devices != INVALID_HANDLE_VALUE) g_calls.destroy_device_list(m_devices);
  m_devices = INVALID_HANDLE_VALUE;
  if (device_class != kPrinterDeviceClass) return false;
  m_devices = g_calls.get_class_devices(&kPrinterClassGuid, nullptr, nullptr, DIGCF_PRESENT);
  if (m_devices == INVALID_HANDLE_VALUE) return false;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD i = 0; g_calls.enum_device(m_devices, i, &device); ++i) {
    wchar_t name[128] = {};  // 256 bytes
    g_calls.device_property(m_devices, &device, SPDRP_FRIENDLYNAME, nullptr, reinterpret_cast<BYTE*>(name),
                            sizeof name - sizeof(wchar_t), nullptr);
    names.emplace_back(name);
  }
  return true;
}

void CWin32InstallPlatform::RemoveDevice(std::size_t index) {
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  if (m_devices != INVALID_HANDLE_VALUE && g_calls.enum_device(m_devices, static_cast<DWORD>(index), &device)) {
    g_calls.remove_device(m_devices, &device);
  }
}

unsigned long CWin32InstallPlatform::LocateRootDevice() {
  DEVINST root = 0;
  const CONFIGRET result = g_calls.locate_device(&root, nullptr, CM_LOCATE_DEVNODE_NORMAL);
  m_devNode = result == CR_SUCCESS ? root : 0;
  return result;
}

unsigned long CWin32InstallPlatform::ReenumerateRootDevice() {
  return g_calls.reenumerate_device(m_devNode, 0);
}

std::wstring CWin32InstallPlatform::SystemDirectory() {
  wchar_t path[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(path, MAX_PATH);
  return n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

std::wstring CWin32InstallPlatform::CurrentDirectory() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetCurrentDirectoryW(MAX_PATH, path);
  return n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

bool CWin32InstallPlatform::StampOf(const std::wstring& path, CFileStamp& stamp) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  FILETIME written{};
  const bool ok = GetFileSizeEx(file, &size) && GetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  stamp.size = static_cast<std::uint64_t>(size.QuadPart);
  stamp.written = (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
  return ok;
}

unsigned long CWin32InstallPlatform::CopyFileOver(const std::wstring& from, const std::wstring& to) {
  return g_calls.copy_file(from.c_str(), to.c_str(), FALSE) ? 0 : LastError();
}

unsigned long CWin32InstallPlatform::RemoveFile(const std::wstring& path) {
  return g_calls.delete_file(path.c_str()) ? 0 : LastError();
}

unsigned long CWin32InstallPlatform::RenameFile(const std::wstring& from, const std::wstring& to) {
  return g_calls.move_file(from.c_str(), to.c_str(), 0) ? 0 : LastError();
}

unsigned long CWin32InstallPlatform::DeleteAtRestart(const std::wstring& path) {
  return g_calls.move_file(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? 0 : LastError();
}

unsigned long CWin32InstallPlatform::StartHidden(const std::wstring& program, const std::wstring& parameters,
                                                 const std::wstring& folder) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = program.c_str();
  info.lpParameters = parameters.c_str();
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = SW_HIDE;
  return g_calls.shell_execute(&info) ? 0 : LastError();
}

std::uint32_t CWin32InstallPlatform::TickCount() {
  return g_calls.tick_count();
}

void CWin32InstallPlatform::Wait(unsigned milliseconds) {
  g_calls.sleep(milliseconds);
}

unsigned long CWin32InstallPlatform::OpenKey(ERegistryRoot hive, const std::wstring& key) {
  HKEY opened = nullptr;
  const LSTATUS status = Open(hive, key, KEY_READ, opened);
  if (status == ERROR_SUCCESS) RegCloseKey(opened);
  return static_cast<unsigned long>(status);
}

unsigned long CWin32InstallPlatform::ReadText(ERegistryRoot hive, const std::wstring& key, const std::wstring& value,
                                              std::size_t max_bytes, std::wstring& text) {
  std::vector<wchar_t> buffer(max_bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD size = static_cast<DWORD>(max_bytes);
  const LSTATUS status = RegGetValueW(Root(hive), key.c_str(), value.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                                      RRF_NOEXPAND, nullptr, buffer.data(), &size);
  if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
  text = buffer.data();  // the spare last character is always a terminator
  return 0;
}

unsigned long CWin32InstallPlatform::ReadTexts(ERegistryRoot hive, const std::wstring& key, const std::wstring& value,
                                               std::vector<std::wstring>& texts) {
  DWORD size = 0;
  LSTATUS status = RegGetValueW(Root(hive), key.c_str(), value.c_str(), RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &size);
  if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
  size = static_cast<DWORD>((buffer.size() - 2) * sizeof(wchar_t));
  status = RegGetValueW(Root(hive), key.c_str(), value.c_str(), RRF_RT_REG_MULTI_SZ, nullptr, buffer.data(), &size);
  if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
  texts.clear();
  for (const wchar_t* name = buffer.data(); *name != L'\0' && name < buffer.data() + buffer.size();
       name += wcslen(name) + 1) {
    texts.emplace_back(name);
  }
  return 0;
}

unsigned long CWin32InstallPlatform::ListSubkeys(ERegistryRoot hive, const std::wstring& key,
                                                 std::vector<std::wstring>& names) {
  HKEY opened = nullptr;
  const LSTATUS status = Open(hive, key, KEY_READ, opened);
  if (status != ERROR_SUCCESS) return static_cast<unsigned long>(status);
  names.clear();
  for (DWORD i = 0;; ++i) {
    wchar_t name[256] = {};
    DWORD length = 256;
    if (RegEnumKeyExW(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(opened);
  return 0;
}

unsigned long CWin32InstallPlatform::DeleteKey(ERegistryRoot hive, const std::wstring& key) {
  return static_cast<unsigned long>(RegDeleteKeyW(Root(hive), key.c_str()));
}

unsigned long CWin32InstallPlatform::DeleteTree(ERegistryRoot hive, const std::wstring& key) {
  const LSTATUS status = RegDeleteTreeW(Root(hive), key.c_str());
  // A system whose RegDeleteTree only empties the key: the emptied key goes too.
  if (status == ERROR_SUCCESS) RegDeleteKeyW(Root(hive), key.c_str());
  return static_cast<unsigned long>(status);
}

}  // namespace vyx
