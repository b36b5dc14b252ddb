// Spoolkit.dll as the printer driver uses it: loaded by its full path, every export found by name through
// GetProcAddress and called against what Wine does for real (spooler, registry, processes, tokens).
#include <shlobj.h>
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "spoolkit/spoolkit.h"
#include "tests/win32/test_paths.h"
#include "tests/win32/test_printer.h"

namespace {

using vyx::testing::ProgramDirectory;
using vyx::testing::TempPath;

class SpoolkitExports : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_module = LoadLibraryW((ProgramDirectory() + L"Spoolkit.dll").c_str()); }
  static void TearDownTestSuite() {
    if (s_module != nullptr) FreeLibrary(s_module);
    s_module = nullptr;
  }
  void SetUp() override { ASSERT_NE(nullptr, s_module) << "Spoolkit.dll did not load"; }

  template <typename F>
  static F* Export(const char* name) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(s_module, name)));
  }

  static HMODULE s_module;
};

HMODULE SpoolkitExports::s_module = nullptr;

// The export of that name, typed as the public header declares it.
#define SPOOLKIT(name) (*Export<decltype(::name)>(#name))

// Arguments or lines a stand-in wrote: UTF-16, each ended by a NUL.
std::vector<std::wstring> ReadReport(const std::wstring& path) {
  std::vector<std::wstring> parts;
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return parts;
  std::wstring content(32768, L'\0');
  DWORD read = 0;
  ReadFile(file, content.data(), static_cast<DWORD>(content.size() * sizeof(wchar_t)), &read, nullptr);
  CloseHandle(file);
  content.resize(read / sizeof(wchar_t));
  for (std::size_t start = 0, end; (end = content.find(L'\0', start)) != std::wstring::npos; start = end + 1)
    parts.push_back(content.substr(start, end - start));
  return parts;
}

// A folder of its own for a program the tests start, with a blank in its name; `program` is copied into it.
std::wstring StageProgram(const wchar_t* folderName, const wchar_t* program) {
  const std::wstring folder = TempPath(folderName);
  CreateDirectoryW(folder.c_str(), nullptr);
  CopyFileW((ProgramDirectory() + program).c_str(), (folder + L"\\" + program).c_str(), FALSE);
  return folder;
}

std::wstring WithoutTrailingSeparator(std::wstring path) {
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

TEST_F(SpoolkitExports, ExportTableHoldsTheTwentyFourPlainNames) {
  std::vector<std::string> expected = {
      "CreateLeashedProcessAsUser",
      "WrapCreateProcessAsUser",
      "ExecuteProcessAsUser",
      "MessageBoxAsUser",
      "ShowMsgBoxInActiveSession",
      "GetLoggedOnUserPrimToken",
      "GetPrimProcessToken",
      "GetPrimThreadToken",
      "FindProcessHandleByName",
      "FindProcessHandlesByName",
      "IsSpoolerProcess",
      "WrapEnumJobs",
      "WrapGetJob",
      "IsJobDeleted",
      "GetJobDevMode",
      "IsRemotePrintingComputer",
      "GetEnvironment",
      "AppendToSubDriverDir",
      "GetCommonDocPath",
      "WrapGetComputerName",
      "IsVistaOrHigher",
      "RegReadValue",
      "RegWriteValue",
      "RegGetSetDevmodePerUser",
  };
  const auto* base = reinterpret_cast<const BYTE*>(s_module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  ASSERT_NE(0u, entry.VirtualAddress);
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  std::vector<std::string> found;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) found.emplace_back(reinterpret_cast<const char*>(base + names[i]));
  std::sort(expected.begin(), expected.end());
  std::sort(found.begin(), found.end());
  EXPECT_EQ(expected, found);
  for (const std::string& name : expected) EXPECT_NE(nullptr, GetProcAddress(s_module, name.c_str())) << name;
}

TEST_F(SpoolkitExports, PathsAndSystemFacts) {
  wchar_t environment[32] = {};
  EXPECT_EQ(SPOOLKIT_ENV_X64, SPOOLKIT(GetEnvironment)(environment, 32));
  EXPECT_STREQ(L"Windows x64", environment);
  wchar_t small[5] = {L'#', L'#', L'#', L'#', L'#'};
  EXPECT_EQ(SPOOLKIT_ENV_X64, SPOOLKIT(GetEnvironment)(small, 4));
  EXPECT_STREQ(L"Win", small);
  EXPECT_EQ(L'#', small[4]);

  wchar_t driverDirectory[MAX_PATH] = {};
  DWORD needed = 0;
  ASSERT_TRUE(GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(driverDirectory),
                                         sizeof driverDirectory, &needed));
  wchar_t path[MAX_PATH] = {};
  ASSERT_TRUE(SPOOLKIT(AppendToSubDriverDir)(path, L"Notifex.exe"));
  EXPECT_EQ(std::wstring(driverDirectory) + L"\\3\\Notifex.exe", path);

  wchar_t documents[MAX_PATH] = {};
  wchar_t expected[MAX_PATH] = {};
  ASSERT_TRUE(SPOOLKIT(GetCommonDocPath)(documents));
  ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, SHGFP_TYPE_CURRENT, expected));
  EXPECT_STREQ(expected, documents);
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(documents));

  wchar_t computer[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  ASSERT_TRUE(SPOOLKIT(WrapGetComputerName)(computer, &size));
  wchar_t own[MAX_PATH] = {};
  DWORD ownSize = MAX_PATH;
  ASSERT_TRUE(GetComputerNameW(own, &ownSize));
  EXPECT_STREQ(own, computer);
  EXPECT_EQ(ownSize, size);
  // Too small: refused, and nothing written past the two characters offered.
  wchar_t tiny[4] = {L'#', L'#', L'#', L'#'};
  size = 2;
  EXPECT_FALSE(SPOOLKIT(WrapGetComputerName)(tiny, &size));
  EXPECT_EQ(L'#', tiny[2]);
  EXPECT_EQ(L'#', tiny[3]);

  EXPECT_EQ(1, SPOOLKIT(IsVistaOrHigher)());
  EXPECT_EQ(0, SPOOLKIT(IsSpoolerProcess)());
}

TEST_F(SpoolkitExports, RegistryValuesRoundTripAndShortBuffersAreNeverOverrun) {
  const wchar_t* key = L"Software\\Zavo\\VYX-Q5-SpoolkitTest";
  RegDeleteTreeW(HKEY_CURRENT_USER, key);
  const BYTE data[6] = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, SPOOLKIT(RegWriteValue)(HKEY_CURRENT_USER, key, L"Blob", REG_BINARY, data, 6, TRUE));
  ASSERT_EQ(ERROR_SUCCESS, SPOOLKIT(RegWriteValue)(HKEY_CURRENT_USER, key, L"Blob", REG_BINARY, data, 6, FALSE));
  EXPECT_EQ(ERROR_SUCCESS, SPOOLKIT(RegWriteValue)(HKEY_CURRENT_USER, key, L"Blob", REG_BINARY, data, 6, TRUE));

  BYTE read[8] = {};
  DWORD size = sizeof read;
  DWORD type = 0;
  ASSERT_EQ(ERROR_SUCCESS, SPOOLKIT(RegReadValue)(HKEY_CURRENT_USER, key, L"Blob", &type, read, &size));
  EXPECT_EQ(6u, size);
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(0, memcmp(data, read, 6));

  // One byte short: ERROR_MORE_DATA with the size the value needs, and the bytes after the buffer untouched.
  BYTE guarded[8];
  memset(guarded, 0xEE, sizeof guarded);
  size = 5;
  EXPECT_EQ(ERROR_MORE_DATA, SPOOLKIT(RegReadValue)(HKEY_CURRENT_USER, key, L"Blob", &type, guarded, &size));
  EXPECT_EQ(6u, size);
  for (int i = 5; i < 8; ++i) EXPECT_EQ(0xEE, guarded[i]) << i;

  size = sizeof read;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, SPOOLKIT(RegReadValue)(HKEY_CURRENT_USER, key, L"Absent", &type, read, &size));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            SPOOLKIT(RegReadValue)(HKEY_CURRENT_USER, L"Software\\Zavo\\NoSuchKey", L"Blob", &type, read, &size));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, key));
}

TEST_F(SpoolkitExports, PerUserDevModeNeedsItsKeyAndKeepsBinaryData) {
  const wchar_t* key = L"Printers\\DevModePerUser";
  HKEY existing = nullptr;
  const bool hadKey = RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &existing) == ERROR_SUCCESS;
  if (hadKey) RegCloseKey(existing);
  BYTE data[16];
  for (int i = 0; i < 16; ++i) data[i] = static_cast<BYTE>(0xA0 + i);
  DWORD size = sizeof data;
  if (!hadKey) {
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, SPOOLKIT(RegGetSetDevmodePerUser)(data, &size, L"VYX Spoolkit Test", FALSE));
    HKEY created = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr));
    RegCloseKey(created);
  }
  ASSERT_EQ(ERROR_SUCCESS, SPOOLKIT(RegGetSetDevmodePerUser)(data, &size, L"VYX Spoolkit Test", FALSE));
  BYTE read[20];
  memset(read, 0xEE, sizeof read);
  size = 15;
  EXPECT_EQ(ERROR_MORE_DATA, SPOOLKIT(RegGetSetDevmodePerUser)(read, &size, L"VYX Spoolkit Test", TRUE));
  EXPECT_EQ(16u, size);
  for (int i = 15; i < 20; ++i) EXPECT_EQ(0xEE, read[i]) << i;
  size = sizeof read;
  ASSERT_EQ(ERROR_SUCCESS, SPOOLKIT(RegGetSetDevmodePerUser)(read, &size, L"VYX Spoolkit Test", TRUE));
  EXPECT_EQ(16u, size);
  EXPECT_EQ(0, memcmp(data, read, 16));

  HKEY opened = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &opened));
  DWORD type = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(opened, L"VYX Spoolkit Test", nullptr, &type, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  RegDeleteValueW(opened, L"VYX Spoolkit Test");
  RegCloseKey(opened);
  if (!hadKey) RegDeleteKeyW(HKEY_CURRENT_USER, key);
}

TEST_F(SpoolkitExports, JobOfATestQueue) {
  const std::wstring port = TempPath(L"vyx_spoolkit_port.prn");
  vyx::testing::CTestPrinterQueue queue(L"VYX Spoolkit Test", port);
  ASSERT_TRUE(queue.Ok());
  // The job takes the settings the printer was opened with: a public part and 16 private bytes.
  struct {
    DEVMODEW fields;
    BYTE extra[16];
  } opened{};
  wcscpy(opened.fields.dmDeviceName, L"VYX Spoolkit Test");
  opened.fields.dmSpecVersion = DM_SPECVERSION;
  opened.fields.dmSize = sizeof(DEVMODEW);
  opened.fields.dmDriverExtra = sizeof opened.extra;
  opened.fields.dmFields = DM_ORIENTATION | DM_COPIES;
  opened.fields.dmOrientation = DMORIENT_PORTRAIT;
  opened.fields.dmCopies = 3;
  for (BYTE i = 0; i < 16; ++i) opened.extra[i] = static_cast<BYTE>(0x50 + i);
  PRINTER_DEFAULTSW defaults{nullptr, &opened.fields, PRINTER_ACCESS_USE};
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinterW(const_cast<wchar_t*>(queue.Name().c_str()), &printer, &defaults));
  DOC_INFO_1W doc{const_cast<wchar_t*>(L"spoolkit job"), nullptr, const_cast<wchar_t*>(L"RAW")};
  const DWORD jobId = StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&doc));
  ASSERT_NE(0u, jobId);

  BYTE* job = nullptr;
  DWORD needed = 0;
  ASSERT_TRUE(SPOOLKIT(WrapGetJob)(printer, jobId, 1, &job, &needed));
  ASSERT_NE(nullptr, job);
  EXPECT_GE(LocalSize(job), needed);
  EXPECT_EQ(jobId, reinterpret_cast<JOB_INFO_1W*>(job)->JobId);
  LocalFree(job);

  // The job's settings, a byte short and then whole, through the printer's name.
  DWORD settingsSize = 0;
  BYTE devMode[4096];
  memset(devMode, 0xEE, sizeof devMode);
  EXPECT_FALSE(SPOOLKIT(GetJobDevMode)(nullptr, jobId, nullptr, 0, &settingsSize, queue.Name().c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  ASSERT_GT(settingsSize, 0u);
  ASSERT_LT(settingsSize, sizeof devMode);
  DWORD again = 0;
  EXPECT_FALSE(SPOOLKIT(GetJobDevMode)(nullptr, jobId, reinterpret_cast<DEVMODEW*>(devMode), settingsSize - 1, &again,
                                       queue.Name().c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  EXPECT_EQ(settingsSize, again);
  EXPECT_EQ(0xEE, devMode[0]);
  EXPECT_TRUE(
      SPOOLKIT(GetJobDevMode)(printer, jobId, reinterpret_cast<DEVMODEW*>(devMode), settingsSize, &again, nullptr));
  EXPECT_EQ(sizeof opened, settingsSize);
  EXPECT_EQ(0, memcmp(&opened, devMode, sizeof opened));
  EXPECT_EQ(0xEE, devMode[settingsSize]);

  EXPECT_EQ(0, SPOOLKIT(IsJobDeleted)(nullptr, jobId, queue.Name().c_str()));
  EXPECT_EQ(0, SPOOLKIT(IsJobDeleted)(nullptr, jobId, L"No Such VYX Queue"));
  // Wine names no machine for a local job; the names themselves are checked with the platform table.
  EXPECT_EQ(0, SPOOLKIT(IsRemotePrintingComputer)(printer, jobId));
  EXPECT_EQ(0, SPOOLKIT(IsRemotePrintingComputer)(nullptr, jobId));

  EndDocPrinter(printer);
  ClosePrinter(printer);
  DeleteFileW(port.c_str());
}

TEST_F(SpoolkitExports, ProcessSearchStopsAtTheCapacity) {
  const wchar_t* eventName = L"VyxSpoolkitTestRelease";
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, eventName);
  ASSERT_NE(nullptr, release);
  const std::wstring child = ProgramDirectory() + L"vyx_spoolkit_child.exe";
  std::vector<PROCESS_INFORMATION> children;
  for (int i = 0; i < 3; ++i) {
    std::wstring line = L"\"" + child + L"\" --wait " + eventName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(
        CreateProcessW(child.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    children.push_back(info);
  }
  auto isChild = [&](HANDLE process) {
    const DWORD id = GetProcessId(process);
    return std::any_of(children.begin(), children.end(),
                       [&](const PROCESS_INFORMATION& c) { return c.dwProcessId == id; });
  };
  // Started processes are named once their program is mapped: wait for all three.
  HANDLE found[8] = {};
  DWORD count = 0;
  for (int tries = 0; tries < 100 && count < 3; ++tries) {
    count = SPOOLKIT(FindProcessHandlesByName)(L"vyx_spoolkit_child.exe", found, 8);
    for (DWORD i = 0; i < count && count != static_cast<DWORD>(-1); ++i) CloseHandle(found[i]);
    if (count < 3) Sleep(100);
  }
  ASSERT_EQ(3u, count);

  HANDLE two[3] = {nullptr, nullptr, nullptr};
  EXPECT_EQ(2u, SPOOLKIT(FindProcessHandlesByName)(L"vyx_spoolkit_child.exe", two, 2));
  EXPECT_EQ(nullptr, two[2]);
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(isChild(two[i]));
    if (two[i] != nullptr) CloseHandle(two[i]);
  }
  HANDLE one = SPOOLKIT(FindProcessHandleByName)(L"vyx_spoolkit_child.exe");
  EXPECT_TRUE(one != nullptr && isChild(one));
  if (one != nullptr) CloseHandle(one);
  // Names are compared exactly.
  EXPECT_EQ(nullptr, SPOOLKIT(FindProcessHandleByName)(L"VYX_SPOOLKIT_CHILD.EXE"));
  EXPECT_EQ(0u, SPOOLKIT(FindProcessHandlesByName)(L"no_such_vyx_program.exe", two, 2));

  SetEvent(release);
  for (PROCESS_INFORMATION& info : children) {
    WaitForSingleObject(info.hProcess, 30000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  CloseHandle(release);
}

TEST_F(SpoolkitExports, TokensOfThisProcessAndThread) {
  HANDLE token = SPOOLKIT(GetPrimProcessToken)(0);
  ASSERT_NE(nullptr, token);
  TOKEN_TYPE type{};
  DWORD returned = 0;
  ASSERT_TRUE(GetTokenInformation(token, TokenType, &type, sizeof type, &returned));
  EXPECT_EQ(TokenPrimary, type);
  CloseHandle(token);

  token = SPOOLKIT(GetPrimProcessToken)(GetCurrentProcessId());
  EXPECT_NE(nullptr, token);
  if (token != nullptr) CloseHandle(token);

  // Without impersonation the thread has no token of its own.
  EXPECT_EQ(nullptr, SPOOLKIT(GetPrimThreadToken)(0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_TOKEN), GetLastError());
  ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
  token = SPOOLKIT(GetPrimThreadToken)(0);
  RevertToSelf();
  ASSERT_NE(nullptr, token);
  ASSERT_TRUE(GetTokenInformation(token, TokenType, &type, sizeof type, &returned));
  EXPECT_EQ(TokenPrimary, type);
  CloseHandle(token);
}

TEST_F(SpoolkitExports, ProgramsStartInTheirFolderWithTheGivenParameters) {
  const std::wstring folder = StageProgram(L"vyx spoolkit child", L"vyx_spoolkit_child.exe");
  const std::wstring program = folder + L"\\vyx_spoolkit_child.exe";
  const std::wstring report = folder + L"\\child.report";
  HANDLE token = SPOOLKIT(GetPrimProcessToken)(0);
  ASSERT_NE(nullptr, token);

  for (HANDLE user : {token, static_cast<HANDLE>(nullptr)}) {
    DeleteFileW(report.c_str());
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(SPOOLKIT(CreateLeashedProcessAsUser)(user, program.c_str(), nullptr, &info, SW_HIDE));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, 30000));
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    std::vector<std::wstring> seen = ReadReport(report);
    ASSERT_EQ(2u, seen.size());
    // No parameters: the program sees only its own path.
    std::wstring line = seen[0];
    if (line.size() >= 2 && line.front() == L'"' && line.back() == L'"') line = line.substr(1, line.size() - 2);
    EXPECT_EQ(program, line);
    EXPECT_EQ(0, lstrcmpiW(folder.c_str(), WithoutTrailingSeparator(seen[1]).c_str()));

    DWORD exitCode = 0;
    DeleteFileW(report.c_str());
    ASSERT_TRUE(SPOOLKIT(ExecuteProcessAsUser)(user, program.c_str(), L"--exit 42 \"two words\"", &exitCode));
    EXPECT_EQ(42u, exitCode);
    seen = ReadReport(report);
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(L"\"" + program + L"\" --exit 42 \"two words\"", seen[0]);
  }
  EXPECT_TRUE(SPOOLKIT(WrapCreateProcessAsUser)(token, program.c_str(), L"--exit 0"));
  EXPECT_FALSE(SPOOLKIT(WrapCreateProcessAsUser)(token, nullptr, L"--exit 0"));
  EXPECT_FALSE(SPOOLKIT(ExecuteProcessAsUser)(token, (folder + L"\\absent.exe").c_str(), nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
  CloseHandle(token);
}

TEST_F(SpoolkitExports, MessageBoxProgramReceivesFourArgumentsWhateverTheTexts) {
  const std::wstring folder = StageProgram(L"vyx spoolkit notifex", L"Notifex.exe");
  const std::wstring report = folder + L"\\Notifex.report";
  HANDLE token = SPOOLKIT(GetPrimProcessToken)(0);
  ASSERT_NE(nullptr, token);
  struct SCase {
    std::wstring text1, text2;
    DWORD a, b;
  };
  const std::vector<SCase> cases = {
      {L"Label.btw", L"Printer VYX", 1, 2},
      {L"say \"hi\" \" /x", L"C:\\Jobs\\", 3, 4},
      {L"\\\\server\\share\\\\", L"a \\\"b\\\" c", 5, 6},
      {L"", L"", 7, 8},
  };
  for (const SCase& c : cases) {
    DeleteFileW(report.c_str());
    const DWORD code = SPOOLKIT(MessageBoxAsUser)(folder.c_str(), token, c.b, c.text1.c_str(), c.text2.c_str(), c.a);
    EXPECT_EQ((c.a << 16) | (c.b << 8) | ((c.text1.size() + c.text2.size()) & 0xFF), code) << c.text1;
    const std::vector<std::wstring> args = ReadReport(report);
    ASSERT_EQ(4u, args.size());
    EXPECT_EQ(c.text1, args[0]);
    EXPECT_EQ(c.text2, args[1]);
    EXPECT_EQ(std::to_wstring(c.a), args[2]);
    EXPECT_EQ(std::to_wstring(c.b), args[3]);
  }
  // A long text is shortened to fit, still as one argument.
  DeleteFileW(report.c_str());
  const std::wstring longText(400, L'\\');
  EXPECT_NE(0u, SPOOLKIT(MessageBoxAsUser)(folder.c_str(), nullptr, 2, longText.c_str(), L"end\"", 1));
  const std::vector<std::wstring> args = ReadReport(report);
  ASSERT_EQ(4u, args.size());
  EXPECT_EQ(0u, longText.rfind(args[0], 0));
  EXPECT_LT(args[0].size(), longText.size());
  EXPECT_EQ(L"end\"", args[1]);

  // Without a folder the program is the one in the driver directory's "3" folder.
  wchar_t driverProgram[MAX_PATH] = {};
  ASSERT_TRUE(SPOOLKIT(AppendToSubDriverDir)(driverProgram, L"Notifex.exe"));
  std::wstring driverFolder(driverProgram);
  driverFolder.resize(driverFolder.find_last_of(L'\\'));
  CreateDirectoryW(driverFolder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW((ProgramDirectory() + L"Notifex.exe").c_str(), driverProgram, FALSE));
  EXPECT_EQ((9u << 16) | (1u << 8) | 2u, SPOOLKIT(MessageBoxAsUser)(nullptr, token, 1, L"x", L"y", 9));
  DeleteFileW(driverProgram);
  DeleteFileW((driverFolder + L"\\Notifex.report").c_str());
  EXPECT_EQ(0u, SPOOLKIT(MessageBoxAsUser)(nullptr, token, 1, L"x", L"y", 9));
  CloseHandle(token);
}

}  // namespace
