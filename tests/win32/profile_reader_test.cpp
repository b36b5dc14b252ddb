// The profile functions under Wine on the same INI cases as the native reader: the two must agree.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "common/ini_file.h"
#include "common/profile_reader_win32.h"
#include "tests/shared/ini_cases.h"

namespace vyx {
namespace {

TEST(Win32ProfileReader, AgreesWithTheNativeReaderOnEveryCase) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  int n = 0;
  for (const auto& c : testing::kIniCases) {
    const std::wstring path = std::wstring(temp) + L"vyx_ini_case_" + std::to_wstring(++n) + L".ini";
    {
      std::ofstream out(path.c_str(), std::ios::binary);
      out << c.ini;
    }
    CWin32ProfileReader profile(path);
    CIniFile native;
    native.Parse(c.ini);
    if (c.asInt) {
      EXPECT_EQ(c.intExpected, profile.GetInt(c.section, c.key, c.intDefault)) << c.what;
      EXPECT_EQ(profile.GetInt(c.section, c.key, c.intDefault), native.GetInt(c.section, c.key, c.intDefault))
          << c.what;
    } else {
      EXPECT_EQ(std::wstring(c.strExpected), profile.GetString(c.section, c.key, c.strDefault, c.capacity)) << c.what;
    }
    DeleteFileW(path.c_str());
  }
}

}  // namespace
}  // namespace vyx
