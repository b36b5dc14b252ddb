// The native INI reader against the cases the profile functions are checked with under Wine.
#include <gtest/gtest.h>

#include "common/ini_file.h"
#include "tests/shared/ini_cases.h"

namespace vyx {
namespace {

TEST(IniFile, AnswersAsTheProfileFunctionsDo) {
  for (const auto& c : testing::kIniCases) {
    CIniFile ini;
    ini.Parse(c.ini);
    if (c.asInt)
      EXPECT_EQ(c.intExpected, ini.GetInt(c.section, c.key, c.intDefault)) << c.what;
    else
      EXPECT_EQ(std::wstring(c.strExpected), ini.GetString(c.section, c.key, c.strDefault, c.capacity)) << c.what;
  }
}

TEST(IniFile, MissingFileGivesDefaults) {
  CIniFile ini;
  EXPECT_FALSE(ini.Load("/nonexistent/VyxQ5Colors.ini"));
  EXPECT_EQ(15, ini.GetInt(L"Palette", L"NumberOfColors", 15));
  EXPECT_EQ(L"UNDEFINED", ini.GetString(L"ColorA", L"Name", L"UNDEFINED", 64));
}

TEST(IniFile, ByteOrderMarkAndGarbageAreHarmless) {
  CIniFile ini;
  ini.Parse("\xEF\xBB\xBF[A]\nk=5\n\xFF\xFE[\n=\n]]\n[");
  EXPECT_EQ(5, ini.GetInt(L"A", L"k", 0));
  EXPECT_EQ(L"", ini.GetString(L"A", L"k", L"", 0));
}

TEST(ProfileValueToInt, SignsBasesAndStops) {
  EXPECT_EQ(0, ProfileValueToInt(L""));
  EXPECT_EQ(-12, ProfileValueToInt(L"  -12x"));
  EXPECT_EQ(5, ProfileValueToInt(L"0b101"));
  EXPECT_EQ(8, ProfileValueToInt(L"0o10"));
  EXPECT_EQ(0, ProfileValueToInt(L"0x"));
  EXPECT_EQ(-1, ProfileValueToInt(L"4294967295"));
}

}  // namespace
}  // namespace vyx
