// The Win32 ground every other test stands on: the registry persists values and the resource library gives strings.
#include <windows.h>

#include <gtest/gtest.h>
#include "tests/win32/test_paths.h"

#include <string>

namespace {

TEST(Foundation, RegistryValueRoundTripsThroughANewKey) {
  const wchar_t* key = L"Software\\Zavo\\VYX-Q5-FoundationTest";
  HKEY h = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr));
  const DWORD written = 0xC0FFEE;
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(h, L"Probe", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&written), 4));
  RegCloseKey(h);

  DWORD read = 0, size = sizeof read, type = 0;
  ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, key, L"Probe", RRF_RT_ANY, &type, &read, &size));
  EXPECT_EQ(written, read);
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);

  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegGetValueW(HKEY_CURRENT_USER, key, L"Absent", RRF_RT_ANY, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, key));
}

TEST(Foundation, ResourceLibraryBesideTheProgramGivesLanguageStrings) {
  const std::wstring path = vyx::testing::ProgramDirectory() + L"VyxResDll.dll";
  HMODULE lib = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(nullptr, lib) << GetLastError();
  wchar_t text[64] = {};
  EXPECT_EQ(2, LoadStringW(lib, 2106, text, 64));
  EXPECT_STREQ(L"en", text);
  EXPECT_GT(LoadStringW(lib, 3108, text, 64), 0);
  EXPECT_STREQ(L"Nederlands", text);
  EXPECT_EQ(0, LoadStringW(lib, 2999, text, 64));
  FreeLibrary(lib);
}

TEST(Foundation, DeliverablesCarryAVersionResource) {
  for (const wchar_t* name : {L"VyxQ5Manager.exe", L"VyxSetup.exe", L"Spoolkit.dll", L"VyxResDll.dll"}) {
    const std::wstring path = vyx::testing::ProgramDirectory() + name;
    DWORD ignored = 0;
    EXPECT_GT(GetFileVersionInfoSizeW(path.c_str(), &ignored), 0u) << static_cast<const void*>(name);
  }
}

}  // namespace
