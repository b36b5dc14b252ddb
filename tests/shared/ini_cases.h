// INI files and the answers the profile functions give for them: run against the native reader and, under Wine,
// against GetPrivateProfileIntW/GetPrivateProfileStringW, so the two are known to agree.
#pragma once

#include <cstddef>

namespace vyx::testing {

struct CIniCase {
  const char* what;
  const char* ini;
  const wchar_t* section;
  const wchar_t* key;
  bool asInt;
  int intDefault;
  int intExpected;
  const wchar_t* strDefault;
  std::size_t capacity;
  const wchar_t* strExpected;
};

inline constexpr CIniCase kIniCases[] = {
    {"plain integer", "[Palette]\r\nPacketWeightInPixels=40000\r\n", L"Palette", L"PacketWeightInPixels", true, 50000,
     40000, nullptr, 0, nullptr},
    {"names ignore case", "[palette]\nPACKETWEIGHTINPIXELS = 7\n", L"Palette", L"PacketWeightInPixels", true, 1, 7,
     nullptr, 0, nullptr},
    {"blanks around everything", "  [ ColorA ]  \n   Name  =   Gold Foil   \n", L"ColorA", L"Name", false, 0, 0,
     L"UNDEFINED", 64, L"Gold Foil"},
    {"first key wins", "[A]\nk=1\nk=2\n", L"A", L"k", true, -7, 1, nullptr, 0, nullptr},
    {"later section of the same name", "[A]\nk=1\n[B]\nx=3\n[A]\nj=2\n", L"A", L"j", true, -7, -7, nullptr, 0, nullptr},
    {"missing key", "[ColorA]\nName=Red\n", L"ColorA", L"RedVal", true, 128, 128, nullptr, 0, nullptr},
    {"missing section", "[ColorA]\nRedVal=1\n", L"ColorB", L"RedVal", true, 128, 128, nullptr, 0, nullptr},
    {"empty value takes the default", "[A]\nk=\n", L"A", L"k", true, 15, 15, nullptr, 0, nullptr},
    {"leading number", "[A]\nk=12abc\n", L"A", L"k", true, 0, 12, nullptr, 0, nullptr},
    {"negative number", "[A]\nk=-5\n", L"A", L"k", true, 0, -5, nullptr, 0, nullptr},
    {"no number", "[A]\nk=abc\n", L"A", L"k", true, 9, 0, nullptr, 0, nullptr},
    {"hexadecimal", "[A]\nk=0x1F\n", L"A", L"k", true, 0, 31, nullptr, 0, nullptr},
    {"number beyond 32 bits wraps", "[A]\nk=4294967297\n", L"A", L"k", true, 0, 1, nullptr, 0, nullptr},
    {"colour above 255 is read whole", "[ColorC]\nRedVal=300\n", L"ColorC", L"RedVal", true, 128, 300, nullptr, 0,
     nullptr},
    {"quotes are stripped", "[A]\nName=\"Black\"\n", L"A", L"Name", false, 0, 0, L"UNDEFINED", 64, L"Black"},
    {"string cut to the buffer", "[A]\nName=ABCDEFGH\n", L"A", L"Name", false, 0, 0, L"", 4, L"ABC"},
    {"default cut to the buffer", "[A]\n", L"A", L"Name", false, 0, 0, L"UNDEFINED", 4, L"UND"},
    {"value with '=' inside", "[A]\nk=a=b\n", L"A", L"k", false, 0, 0, L"", 64, L"a=b"},
    {"blanks inside a value stay", "[A]\nName=Dark  Blue \n", L"A", L"Name", false, 0, 0, L"", 64, L"Dark  Blue"},
    {"comment line is no key", "[A]\n;k=5\n", L"A", L"k", true, 4, 4, nullptr, 0, nullptr},
    {"last line without line break", "[A]\nk=9", L"A", L"k", true, 0, 9, nullptr, 0, nullptr},
    {"key in a later section", "[A]\nk=1\n[B]\nk=2\n", L"b", L"K", true, 0, 2, nullptr, 0, nullptr},
    {"section names with dots", "[TapeColor.01]\nTapeID=3\n", L"TapeColor.01", L"TapeID", true, 0, 3, nullptr, 0,
     nullptr},
};

}  // namespace vyx::testing
