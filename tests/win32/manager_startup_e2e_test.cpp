// VyxQ5Manager end to end under Wine: the driver simulator serves a job and starts the real program, the UI robot
// logs and answers every window it shows. The robot's log is what these tests check.
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>
#include "tests/win32/test_paths.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A Linux path of the build as Wine's Z: drive sees it.
std::wstring Example(const char* name) {
  return vyx::testing::WinePath(std::string(VYX_SOURCE_DIR) + "/examples/" + name);
}

std::vector<std::string> ReadLines(const std::wstring& path) {
  std::ifstream in(path.c_str());
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct CSimRun {
  DWORD exitCode = 0xDEAD;
  std::string report;                // "exit=.. served=.. connected=.."
  std::vector<std::string> robot;    // one line per message the manager showed
  std::vector<std::string> windows;  // every window the robot saw, the progress window included
  std::wstring shots;                // where the robot saved its screenshots
};

// Runs the simulator with `args`, capturing its report line and the robot's log.
CSimRun RunSimulator(const std::wstring& args, const std::wstring& answers = L"") {
  static int run = 0;
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring log = std::wstring(temp) + L"vyx_e2e_robot_" + std::to_wstring(++run) + L".log";
  DeleteFileW(log.c_str());
  std::wstring cmd = L"\"" + vyx::testing::ProgramDirectory() + L"vyx_driver_sim.exe\" " + args + L" --robot-log \"" +
                     log + L"\" --timeout 60";
  if (!answers.empty()) cmd += L" --answers " + answers;
  CSimRun result;
  const std::string shots = std::string(VYX_BINARY_DIR) + "/screenshots";
  CreateDirectoryW(vyx::testing::WinePath(shots).c_str(), nullptr);
  result.shots = vyx::testing::WinePath(shots + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                        "-" + std::to_string(run));
  CreateDirectoryW(result.shots.c_str(), nullptr);
  cmd += L" --shots \"" + result.shots + L"\"";

  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  CreatePipe(&readEnd, &writeEnd, &sa, 0);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return result;
  CloseHandle(writeEnd);
  char buf[512];
  DWORD n = 0;
  while (ReadFile(readEnd, buf, sizeof buf, &n, nullptr) && n > 0) result.report.append(buf, n);
  CloseHandle(readEnd);
  if (WaitForSingleObject(pi.hProcess, 90000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 0xDEAD);
  GetExitCodeProcess(pi.hProcess, &result.exitCode);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  result.windows = ReadLines(log);
  for (const std::string& line : result.windows)
    if (line.find("Abort[disabled]") == std::string::npos) result.robot.push_back(line);
  return result;
}

// The robot's line for the main window, which a job with `Mg` opens once it is read; the robot closes it with Done.
bool IsMainWindow(const std::string& line) {
  return line.rfind("caption=VYX-Q5 Manager | ", 0) == 0 &&
         line.find("buttons=PRINT,Advanced...,Done") != std::string::npos;
}

std::string Served(const std::string& report) {
  const size_t at = report.find("served=");
  return at == std::string::npos ? "" : report.substr(at + 7, report.find(' ', at) - at - 7);
}

long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return static_cast<long>(data.nFileSizeLow);
}

TEST(ManagerStartup, JobOnAPipeIsReadWholeWithoutAnyMessage) {
  const CSimRun run = RunSimulator(L"--job \"" + Example("two-ribbons-hex.zpl") + L"\"", L"Done");
  EXPECT_EQ(0u, run.exitCode) << run.report;
  EXPECT_EQ(std::to_string(FileSize(Example("two-ribbons-hex.zpl"))), Served(run.report));
  EXPECT_NE(std::string::npos, run.report.find("connected=1"));
  ASSERT_EQ(1u, run.robot.size());
  EXPECT_TRUE(IsMainWindow(run.robot[0])) << run.robot[0];
}

TEST(ManagerStartup, PipeCreatedFourSecondsLaterIsOpenedOnceItExists) {
  const CSimRun run = RunSimulator(L"--delay-ms 4000 --job \"" + Example("binary-field.zpl") + L"\"", L"Done");
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_EQ(std::to_string(FileSize(Example("binary-field.zpl"))), Served(run.report));
  ASSERT_EQ(1u, run.robot.size());
  EXPECT_TRUE(IsMainWindow(run.robot[0])) << run.robot[0];
  // While it waits, the progress window is up, its Abort button disabled on this first showing; the robot saved
  // what the user saw.
  ASSERT_FALSE(run.windows.empty());
  EXPECT_NE(std::string::npos, run.windows[0].find("buttons=Abort[disabled]"));
  EXPECT_GT(FileSize(run.shots + L"\\dialog1.png"), 1000);
}

TEST(ManagerStartup, FilePathAsLocationWorks) {
  const CSimRun run = RunSimulator(L"--as-file --job \"" + Example("pages-and-copies.zpl") + L"\"", L"Done");
  EXPECT_EQ(0u, run.exitCode);
  ASSERT_EQ(1u, run.robot.size());
  EXPECT_TRUE(IsMainWindow(run.robot[0])) << run.robot[0];
}

TEST(ManagerStartup, PerPageCopiesFileIsReadAndDeleted) {
  wchar_t folder[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS | CSIDL_FLAG_CREATE, nullptr, 0, folder)));
  const std::wstring copies = std::wstring(folder) + L"\\PerPageCopies_77.dat";
  const CSimRun run = RunSimulator(L"--id 77 --copies 2,3 --job \"" + Example("pages-and-copies.zpl") + L"\"", L"Done");
  EXPECT_EQ(0u, run.exitCode);
  ASSERT_EQ(1u, run.robot.size());
  EXPECT_TRUE(IsMainWindow(run.robot[0])) << run.robot[0];
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(copies.c_str()));
}

TEST(ManagerStartup, WrongArgumentCountIsShownThenTheConnectionFailure) {
  const CSimRun run = RunSimulator(L"--argv \"\\\"a\\\" \\\"b\\\"\" --job \"" + Example("two-ribbons-hex.zpl") + L"\"");
  EXPECT_EQ(0u, run.exitCode);
  ASSERT_EQ(3u, run.robot.size());
  EXPECT_EQ(0u, run.robot[0].find("caption=ReadCmdLineArgs: wrong number of command line arguments ! | text="));
  EXPECT_NE(std::string::npos, run.robot[0].find("\"a\" \"b\""));
  // An empty location cannot be opened: the open error, then the connection failure with the (empty) location.
  EXPECT_EQ("caption=CreateFile | text=not ERROR_PIPE_BUSY ! | buttons=OK", run.robot[1]);
  EXPECT_EQ("caption=The print job could not be received | text= | buttons=OK", run.robot[2]);
}

TEST(ManagerStartup, OldDriverArgumentsShowTheMessageAndUseTheDefaults) {
  const CSimRun run = RunSimulator(
      L"--argv \"-x \\\\.\\pipe\\VYXQ5_42_sim VYX-Q5\" --job \"" + Example("two-ribbons-hex.zpl") + L"\"", L"OK,Done");
  EXPECT_EQ(0u, run.exitCode);
  ASSERT_EQ(2u, run.robot.size());
  EXPECT_TRUE(IsMainWindow(run.robot[1])) << run.robot[1];
  EXPECT_EQ(
      "caption=Pre-17i-version of vyxui.dll! Please uninstall and reinstall, then restart spooler service! | text= | "
      "buttons=OK",
      run.robot[0]);
  EXPECT_EQ(std::to_string(FileSize(Example("two-ribbons-hex.zpl"))), Served(run.report));
}

TEST(ManagerStartup, BadOptionsStringIsShownWithTheString) {
  const CSimRun run =
      RunSimulator(L"--options LnMgSvBo0;59 --job \"" + Example("two-ribbons-hex.zpl") + L"\"", L"OK,Done");
  EXPECT_EQ(0u, run.exitCode);
  ASSERT_EQ(2u, run.robot.size());
  EXPECT_TRUE(IsMainWindow(run.robot[1])) << run.robot[1];
  EXPECT_EQ("caption=Wrong parameter syntax! Please uninstall and reinstall! | text=LnMgSvBo0;59 | buttons=OK",
            run.robot[0]);
}

TEST(ManagerStartup, EmptyJobShowsFileLoadFailed) {
  const std::string empty = std::string(VYX_BINARY_DIR) + "/empty-job.zpl";
  std::ofstream(empty, std::ios::binary).close();
  const CSimRun run = RunSimulator(L"--job \"" + vyx::testing::WinePath(empty) + L"\"");
  EXPECT_EQ(0u, run.exitCode);
  ASSERT_EQ(2u, run.robot.size());
  EXPECT_EQ("caption=InitInstance 1.18.6.1 | text=file load failed ! | buttons=OK", run.robot[0]);
  EXPECT_EQ("caption=The print job could not be received | text=\\\\.\\pipe\\VYXQ5_42_sim | buttons=OK", run.robot[1]);
}

}  // namespace
