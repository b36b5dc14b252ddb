// The UI robot reads message boxes and presses the buttons it is told to: the end-to-end tests rely on its log.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/ui_driver_win32.h"
#include "tests/win32/test_paths.h"

namespace {

using vyx::testing::CTestProcess;
using vyx::testing::ProgramDirectory;

TEST(UiRobot, LogsTheMessageBoxAndPressesTheScriptedButton) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring log = std::wstring(temp) + L"vyx_robot_test.log";
  DeleteFileW(log.c_str());
  CTestProcess probe(L"\"" + ProgramDirectory() + L"vyx_msgbox_probe.exe\" \"Robot Caption\" \"Line one\" " +
                     std::to_wstring(MB_RETRYCANCEL | MB_ICONWARNING));
  ASSERT_NE(nullptr, probe.Handle());
  CTestProcess robot(L"\"" + ProgramDirectory() + L"vyx_ui_robot.exe\" --pid " + std::to_wstring(probe.Id()) +
                     L" --log \"" + log + L"\" --answers Cancel --timeout 30");
  ASSERT_NE(nullptr, robot.Handle());
  EXPECT_EQ(static_cast<DWORD>(IDCANCEL), probe.WaitForExit(30000));
  EXPECT_EQ(0u, robot.WaitForExit(30000));
  std::ifstream in(log.c_str());
  std::stringstream s;
  s << in.rdbuf();
  EXPECT_EQ("caption=Robot Caption | text=Line one | buttons=Retry,Cancel\n", s.str());
}

}  // namespace
