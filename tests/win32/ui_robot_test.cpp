// The UI robot reads message boxes and presses the buttons it is told to: the end-to-end tests rely on its log.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::wstring Dir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring d = path;
  return d.substr(0, d.find_last_of(L"\\/") + 1);
}

HANDLE Start(std::wstring cmd) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

DWORD FinishedCode(HANDLE process, DWORD timeoutMs) {
  DWORD code = 0xDEAD;
  if (WaitForSingleObject(process, timeoutMs) == WAIT_TIMEOUT) TerminateProcess(process, 0xDEAD);
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  return code;
}

TEST(UiRobot, LogsTheMessageBoxAndPressesTheScriptedButton) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring log = std::wstring(temp) + L"vyx_robot_test.log";
  DeleteFileW(log.c_str());
  HANDLE probe = Start(L"\"" + Dir() + L"vyx_msgbox_probe.exe\" \"Robot Caption\" \"Line one\" " +
                       std::to_wstring(MB_RETRYCANCEL | MB_ICONWARNING));
  ASSERT_NE(nullptr, probe);
  HANDLE robot = Start(L"\"" + Dir() + L"vyx_ui_robot.exe\" --pid " + std::to_wstring(GetProcessId(probe)) +
                       L" --log \"" + log + L"\" --answers Cancel --timeout 30");
  ASSERT_NE(nullptr, robot);
  EXPECT_EQ(static_cast<DWORD>(IDCANCEL), FinishedCode(probe, 30000));
  EXPECT_EQ(0u, FinishedCode(robot, 30000));
  std::ifstream in(log.c_str());
  std::stringstream s;
  s << in.rdbuf();
  EXPECT_EQ("caption=Robot Caption | text=Line one | buttons=Retry,Cancel\n", s.str());
}

}  // namespace
