// The driver package work on Windows: what Wine does for real (files renamed for deletion at restart, registry
// clean-up, stale printer keys, its answers to the driver store calls), the calls Wine only stubs answered through
// the table, and the wizard's removal of the driver driven by the robot.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/failure_message_win32.h"
#include "common/seams/debug_output.h"
#include "common/seams/message_sink_win32.h"
#include "setup/driver_package_work.h"
#include "setup/install_platform_win32.h"
#include "setup/resource.h"
#include "tests/support/ui_driver_win32.h"
#include "tests/win32/test_paths.h"
#include "tests/win32/test_printer.h"

namespace vyx {
namespace {

using namespace vyx::testing;

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

bool SetText(HKEY root, const std::wstring& key, const wchar_t* value, const std::wstring& text) {
  return RegSetKeyValueW(root, key.c_str(), value, REG_SZ, text.c_str(),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

class DriverPackageWin32 : public ::testing::Test {
 protected:
  void SetUp() override { m_before = SetProgramMessageSink(&m_sink); }
  void TearDown() override {
    InstallCalls() = RealInstallCalls();
    SetProgramMessageSink(m_before);
  }
  CDriverPackageWork Work(CPackageHooks hooks = {}) {
    return CDriverPackageWork(m_platform, m_state, m_sink, m_debug, &GetSystemMessageText, std::move(hooks));
  }

  CRecordingMessageSink m_sink;
  CMessageSink* m_before = nullptr;
  CCollectingDebugOutput m_debug;
  CWizardState m_state;
  CWin32InstallPlatform m_platform;
};

TEST_F(DriverPackageWin32, FileInUseIsRenamedAndLeftForDeletionAtRestart) {
  const std::wstring folder = TempPath(L"vyx-rename");
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring path = folder + L"\\Kavmon.dll";
  const HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, writer);
  CloseHandle(writer);
  // Held open as a loaded library is: others may read, rename and delete it.
  const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  InstallCalls().tick_count = [] { return static_cast<DWORD>(987654); };
  CDriverPackageWork work = Work();
  EXPECT_EQ(0u, work.RenameForDeletion(path));
  CloseHandle(held);

  const std::wstring renamed = folder + L"\\Kavmon_ScheduledForDeletion987654.dll";
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(renamed.c_str()));
  // The pending operation: the renamed file's NT path, then an empty target (delete).
  std::vector<wchar_t> pending(1 << 16, L'\0');
  DWORD size = static_cast<DWORD>((pending.size() - 2) * sizeof(wchar_t));
  ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                                        L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, pending.data(),
                                        &size));
  bool found = false;
  for (const wchar_t* entry = pending.data(); *entry != L'\0'; entry += wcslen(entry) + 1) {
    if (_wcsicmp(entry, (L"\\??\\" + renamed).c_str()) == 0) found = *(entry + wcslen(entry) + 1) == L'\0';
  }
  EXPECT_TRUE(found);
  DeleteFileW(renamed.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST_F(DriverPackageWin32, SettingsCleanUpOnRealKeys) {
  ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, L"Software\\Zavo\\VYX-Q5", L"Probe", L"1"));
  ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, L"Software\\Zavo\\VYX-Q5\\Sub", L"Probe", L"1"));
  // Users' hives under HKEY_USERS: Wine lets a test make keys there, as loading a hive would.
  const std::wstring user = L"S-1-5-21-1111111111-2222222222-3333333333-1001";
  const bool users = SetText(HKEY_USERS, user + L"\\Software\\Zavo\\VYX-Q5", L"Probe", L"1") &&
                     SetText(HKEY_USERS, user + L"_Classes\\Software\\Zavo\\VYX-Q5", L"Probe", L"1") &&
                     SetText(HKEY_USERS, user + L"\\Software\\Zavo\\Other", L"Probe", L"1");
  CDriverPackageWork work = Work();
  work.CleanUpSettings();
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Zavo\\VYX-Q5"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Zavo"));
  EXPECT_TRUE(m_sink.shown.empty());
  if (!users) GTEST_SKIP() << "no keys can be made under HKEY_USERS";
  EXPECT_FALSE(KeyExists(HKEY_USERS, user + L"\\Software\\Zavo\\VYX-Q5"));
  EXPECT_TRUE(KeyExists(HKEY_USERS, user + L"\\Software\\Zavo\\Other"));
  EXPECT_TRUE(KeyExists(HKEY_USERS, user + L"_Classes\\Software\\Zavo\\VYX-Q5"));
  RegDeleteTreeW(HKEY_USERS, user.c_str());
  RegDeleteKeyW(HKEY_USERS, user.c_str());
  RegDeleteTreeW(HKEY_USERS, (user + L"_Classes").c_str());
  RegDeleteKeyW(HKEY_USERS, (user + L"_Classes").c_str());
}

TEST_F(DriverPackageWin32, StalePrinterKeysGoFromTheRealRegistryAfterARestart) {
  const std::wstring root = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
  ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, root + L"Label,12", L"Printer Driver", L"VYX - Q5"));
  ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, root + L"Label,12\\PnPData", L"HardwareID", L"USBPRINT\\Zavo_B.V.VYX_Q58D2F"));
  ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, root + L"X,1", L"Printer Driver", L"VYX - Q5"));
  m_state.restart_consent = kConsentAgreed;  // asked earlier in this run
  int restarts = 0;  // the restart itself has tests of its own
  CDriverPackageWork work = Work({[&] { return ++restarts, 0; }, {}, {}});
  EXPECT_EQ(std::vector<std::wstring>{root + L"Label,12"}, work.CollectStalePrinters());
  work.CleanUpOnFinish();
  EXPECT_EQ(1, restarts);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, root + L"Label,12"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, root + L"X,1"));
  EXPECT_TRUE(m_sink.shown.empty());
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, (root + L"X,1").c_str());
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, (root + L"X,1").c_str());
}

// What Wine answers for real: the driver store is a stub, the monitor unknown, a missing driver unknown.
TEST_F(DriverPackageWin32, WineAnswersOfTheDriverStoreAndSpooler) {
  std::wstring store;
  EXPECT_EQ(static_cast<unsigned long>(E_NOTIMPL), m_platform.UploadPackage(L"..\\InstDisk\\vyxqfive.inf", store));
  EXPECT_TRUE(store.empty());
  EXPECT_EQ(static_cast<unsigned long>(ERROR_CALL_NOT_IMPLEMENTED), m_platform.InstallFromPackage(store, L"VYX - Q5"));
  EXPECT_EQ(static_cast<unsigned long>(ERROR_CALL_NOT_IMPLEMENTED), m_platform.DeletePackage(L"C:\\x.inf"));
  EXPECT_EQ(static_cast<unsigned long>(ERROR_UNKNOWN_PRINT_MONITOR), m_platform.RemoveMonitor(L"Bidi Language Monitor"));
  EXPECT_EQ(static_cast<unsigned long>(ERROR_UNKNOWN_PRINTER_DRIVER), m_platform.RemovePrinterDriver(L"No Such Driver"));
  std::wstring directory;
  EXPECT_EQ(0u, m_platform.DriverDirectory(directory));
  EXPECT_EQ(L"x64", directory.substr(directory.size() - 3));
  // The older driver's removal on the driver page finds nothing and says nothing.
  CDriverPackageWork work = Work();
  EXPECT_EQ(0, work.RemoveDriver(L"VYX-Q five", ERemoval::kPartial));
  EXPECT_TRUE(m_sink.shown.empty());
}

// The calls of a system with a driver store, answered through the table.
struct CStoreScript {
  HRESULT upload = S_OK;
  HRESULT install = S_OK;
  std::vector<std::wstring> calls;
};
CStoreScript g_store;

HRESULT WINAPI FakeUpload(LPCWSTR server, LPCWSTR inf, LPCWSTR environment, DWORD flags, HWND, LPWSTR path,
                          PULONG size) {
  g_store.calls.push_back(L"upload " + std::wstring(server ? server : L"local") + L" " + inf + L" " + environment +
                          L" " + std::to_wstring(flags) + L" " + std::to_wstring(*size));
  if (SUCCEEDED(g_store.upload)) lstrcpynW(path, L"C:\\Store\\vyxqfive.inf", static_cast<int>(*size));
  return g_store.upload;
}
HRESULT WINAPI FakeInstall(LPCWSTR, LPCWSTR inf, LPCWSTR driver, LPCWSTR environment, DWORD flags) {
  g_store.calls.push_back(L"install " + std::wstring(inf) + L" " + driver + L" " + environment + L" " +
                          std::to_wstring(flags));
  return g_store.install;
}
BOOL WINAPI FakeShellExecute(SHELLEXECUTEINFOW* info) {
  g_store.calls.push_back(L"start " + std::wstring(info->lpFile) + L" " + info->lpParameters + L" " +
                          (info->lpDirectory ? info->lpDirectory : L"") + L" " + std::to_wstring(info->nShow));
  SetLastError(ERROR_FILE_NOT_FOUND);
  return FALSE;
}

TEST_F(DriverPackageWin32, UpdateThroughTheDriverStoreCallsAndItsFailures) {
  g_store = {};
  InstallCalls().upload_package = &FakeUpload;
  InstallCalls().install_from_package = &FakeInstall;
  InstallCalls().shell_execute = &FakeShellExecute;
  int upgrades = 0;
  CDriverPackageWork work = Work({{}, [&] { return ++upgrades; }, {}});
  EXPECT_TRUE(work.UpdateDriver());
  const std::vector<std::wstring> expected = {
      L"upload local ..\\InstDisk\\vyxqfive.inf Windows x64 " + std::to_wstring(2) + L" 520",
      L"install C:\\Store\\vyxqfive.inf VYX - Q5 Windows x64 0"};
  EXPECT_EQ(expected, g_store.calls);
  EXPECT_EQ(1, upgrades);

  // Refused by the store, then the system printer user interface cannot start: the page stays.
  g_store = {};
  g_store.install = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
  EXPECT_FALSE(work.UpdateDriver());
  ASSERT_EQ(3u, g_store.calls.size());
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_EQ(L"start " + std::wstring(system) +
                L"\\rundll32.exe printui.dll,PrintUIEntry /ia /f \"vyxqfive.inf\" /m \"VYX - Q5\" ..\\InstDisk\\ 0",
            g_store.calls[2]);
  ASSERT_EQ(2u, m_sink.shown.size());
  EXPECT_EQ(L"InstallPrinterDriverFromPackage", m_sink.shown[0].caption);
  EXPECT_EQ(GetSystemMessageText(ERROR_ACCESS_DENIED), m_sink.shown[0].text);
  EXPECT_EQ(L"printui.dll,PrintUIEntry /ia /f \"vyxqfive.inf\" /m \"VYX - Q5\"", m_sink.shown[1].caption);
  EXPECT_EQ(1, upgrades);
}

// The wizard removes the driver "VYX - Q5" with its printer; every message it shows is answered.
TEST(SetupWizardRemoval, UninstallRemovesTheDriverAndItsPrinterThroughTheWizard) {
  {
    CTestPrinterQueue queue(L"VYX - Q5 removal", L"FILE:", L"VYX - Q5");
    ASSERT_TRUE(queue.Ok());
    queue.Release();
  }
  ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, L"Software\\Zavo\\VYX-Q5", nullptr, L""));
  CTestProcess setup;
  ASSERT_TRUE(setup.Start(L"\"" + ProgramDirectory() + L"VyxSetup.exe\""));
  const HWND sheet = WaitForTopWindow(setup.Id(), {L"", L"#32770"}, 15000);
  ASSERT_NE(nullptr, sheet);
  auto on_page = [&](int id) { return WaitUntil([&] { return ReadControl(sheet, id).visible; }) && WaitForIdle(sheet); };
  ASSERT_TRUE(on_page(IDC_WELCOME_PICTURE));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PressWizardButton(sheet, EWizardButton::kNext) && WaitForIdle(sheet));
  ASSERT_TRUE(on_page(IDC_UNINSTALL));
  ASSERT_TRUE(Click(FindControl(sheet, IDC_UNINSTALL)));
  ASSERT_TRUE(WaitUntil([&] { return ReadControl(sheet, IDC_UNINSTALL).checked == BST_CHECKED; }));
  ASSERT_TRUE(PressWizardButton(sheet, EWizardButton::kNext));
  ASSERT_TRUE(on_page(IDC_OPTION_DRIVER_ONLY));
  ASSERT_TRUE(Click(FindControl(sheet, IDC_OPTION_DRIVER_ONLY)));
  SaveWindowPng(sheet, ScreenshotPath("setup-remove-driver"));
  ASSERT_TRUE(PressWizardButton(sheet, EWizardButton::kNext));

  // Whatever the removal has to say is answered; it ends on the result page.
  std::vector<std::string> messages;
  const bool finished = WaitUntil(
      [&] {
        for (HWND box : FindTopWindows(setup.Id(), {L"", L"#32770", {sheet}})) {
          messages.push_back(FormatDialog(ReadDialog(box)));
          PressDialogButton(box, L"OK");
          WaitForWindowGone(box);
        }
        return ReadControl(sheet, IDC_RESULT_TEXT).visible;
      },
      30000);
  std::string said;
  for (const std::string& message : messages) said += "\n  " + message;
  ASSERT_TRUE(finished) << "messages:" << said;
  EXPECT_TRUE(messages.empty()) << said;
  SaveWindowPng(sheet, ScreenshotPath("setup-removed"));

  HANDLE printer = nullptr;
  EXPECT_FALSE(OpenPrinterW(const_cast<wchar_t*>(L"VYX - Q5 removal"), &printer, nullptr));
  std::vector<BYTE> drivers(1 << 16);
  DWORD needed = 0, count = 0;
  ASSERT_TRUE(EnumPrinterDriversW(nullptr, nullptr, 3, drivers.data(), 1 << 16, &needed, &count));
  for (DWORD i = 0; i < count; ++i) {
    EXPECT_STRNE(L"VYX - Q5", reinterpret_cast<const DRIVER_INFO_3W*>(drivers.data())[i].pName);
  }
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Zavo\\VYX-Q5"));
  ASSERT_TRUE(PressWizardButton(sheet, EWizardButton::kFinish));
  EXPECT_EQ(0u, setup.WaitForExit(10000));
}

}  // namespace
}  // namespace vyx
