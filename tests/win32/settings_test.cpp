// The settings store against the real registry: hive order per program, absent values, and the failure messages
// a user would see when the registry refuses.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/failure_message_win32.h"
#include "common/seams/message_sink_win32.h"
#include "common/settings_win32.h"

namespace vyx {
namespace {

// The machine key as a 32-bit program sees it without asking for the 64-bit view.
void DeleteThirtyTwoBitMachineKey() {
  HKEY parent = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Zavo", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &parent) ==
      ERROR_SUCCESS) {
    RegDeleteTreeW(parent, L"VYX-Q5");
    RegCloseKey(parent);
  }
}

void DeleteSettingsKeys() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKeyPath);
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
  DeleteThirtyTwoBitMachineKey();
}

void SetRaw(HKEY hive, const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(hive, kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size));
  RegCloseKey(key);
}

void SetDword(HKEY hive, const wchar_t* name, DWORD value) {
  SetRaw(hive, name, REG_DWORD, &value, sizeof value);
}

// The stored DWORD, or -2 when the value is missing.
long long GetRaw(HKEY hive, const wchar_t* name, DWORD* type = nullptr) {
  DWORD data = 0, size = sizeof data, t = 0;
  if (RegGetValueW(hive, kSettingsKeyPath, name, RRF_RT_ANY, &t, &data, &size) != ERROR_SUCCESS) return -2;
  if (type != nullptr) *type = t;
  return data;
}

class RegistrySettings : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteSettingsKeys();
    m_before = SetProgramMessageSink(&m_sink);
  }
  void TearDown() override {
    RegistryCalls() = RealRegistryCalls();
    SetProgramMessageSink(m_before);
    DeleteSettingsKeys();
  }
  CRecordingMessageSink m_sink;
  CMessageSink* m_before = nullptr;
  CRegistrySettingsStore m_store;
};

TEST_F(RegistrySettings, ThisBuildIsTheManager) {
  EXPECT_EQ(&kManagerSettings, &ThisProgramSettings());
}

TEST_F(RegistrySettings, ManagerReadsTheUserHiveBeforeTheMachineHiveAndSetupTheMachineOnly) {
  SetDword(HKEY_CURRENT_USER, L"LangBaseID", 3000);
  SetDword(HKEY_LOCAL_MACHINE, L"LangBaseID", 1000);
  EXPECT_EQ(3000, ReadLangBase(EHive::kCurrentUser));
  EXPECT_EQ(1000, ReadLangBase(EHive::kLocalMachine));
  EXPECT_EQ(3000, ReadInProgramOrder(m_store, kManagerSettings, ESetting::kLangBase));
  EXPECT_EQ(1000, ReadInProgramOrder(m_store, kSetupSettings, ESetting::kLangBase));

  ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKeyPath, L"LangBaseID"));
  EXPECT_EQ(1000, ReadInProgramOrder(m_store, kManagerSettings, ESetting::kLangBase));
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
  EXPECT_EQ(kSettingAbsent, ReadInProgramOrder(m_store, kManagerSettings, ESetting::kLangBase));
  EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(RegistrySettings, WritesGoToTheProgramsOwnHiveAsDword) {
  ASSERT_TRUE(WriteLangBase(2000));
  ASSERT_TRUE(WriteUnitCode(1));
  DWORD type = 0;
  EXPECT_EQ(2000, GetRaw(HKEY_CURRENT_USER, L"LangBaseID", &type));
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
  EXPECT_EQ(1, GetRaw(HKEY_CURRENT_USER, L"UnitCode"));
  EXPECT_EQ(-2, GetRaw(HKEY_LOCAL_MACHINE, L"LangBaseID"));

  // The setup program's hive, written the way its build writes it.
  ASSERT_TRUE(WriteInProgramHive(m_store, kSetupSettings, ESetting::kLangBase, 0));
  EXPECT_EQ(0, GetRaw(HKEY_LOCAL_MACHINE, L"LangBaseID"));
  EXPECT_EQ(2000, GetRaw(HKEY_CURRENT_USER, L"LangBaseID"));
  EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(RegistrySettings, StoredMinusOneIsAbsentAndTheUnitFallsBackToTheLocale) {
  SetDword(HKEY_CURRENT_USER, L"UnitCode", 0xFFFFFFFFu);
  EXPECT_EQ(kSettingAbsent, ReadUnitCode(EHive::kCurrentUser));
  SetDword(HKEY_LOCAL_MACHINE, L"UnitCode", 0);
  EXPECT_EQ(0, ReadUnitCodeWithDefault());
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKeyPath);

  std::wstring measure;
  const bool ok = QueryLocaleMeasure(measure);
  EXPECT_TRUE(ok);
  EXPECT_EQ(UnitFromMeasurementSystem(ok, measure), ReadUnitCodeWithDefault());
  EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(RegistrySettings, DarknessIsReadFromTheUserHiveOnly) {
  SetDword(HKEY_LOCAL_MACHINE, L"Darkness", 20);
  EXPECT_EQ(kSettingAbsent, ReadDarkness());
  SetDword(HKEY_CURRENT_USER, L"Darkness", 12);
  EXPECT_EQ(12, ReadDarkness());
  EXPECT_EQ(12, ReadProgramDarkness(m_store, ThisProgramSettings()));
}

TEST_F(RegistrySettings, MissingKeyOrValueShowsNothing) {
  EXPECT_EQ(kSettingAbsent, ReadLangBase(EHive::kCurrentUser));
  EXPECT_EQ(kSettingAbsent, ReadUnitCode(EHive::kLocalMachine));
  EXPECT_EQ(kSettingAbsent, ReadDarkness());
  SetDword(HKEY_CURRENT_USER, L"Other", 1);
  EXPECT_EQ(kSettingAbsent, ReadLangBase(EHive::kCurrentUser));
  EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(RegistrySettings, ValuesAreReadAsFourBytesWhateverTheirType) {
  const BYTE two[] = {0x34, 0x12};
  SetRaw(HKEY_CURRENT_USER, L"LangBaseID", REG_BINARY, two, sizeof two);
  EXPECT_EQ(0x1234, ReadLangBase(EHive::kCurrentUser));  // the rest of the buffer stays zero
  const wchar_t text[] = L"2000 as text";
  SetRaw(HKEY_CURRENT_USER, L"UnitCode", REG_SZ, text, sizeof text);
  EXPECT_EQ(kSettingAbsent, ReadUnitCode(EHive::kCurrentUser));
  // Too long for four bytes: a real failure, shown to the user.
  ASSERT_EQ(1u, m_sink.shown.size());
  EXPECT_EQ(L"ReadUnitCode: RegQueryValueEx", m_sink.shown[0].caption);
  EXPECT_EQ(GetSystemMessageText(ERROR_MORE_DATA), m_sink.shown[0].text);
  EXPECT_EQ(static_cast<unsigned>(MB_OK), m_sink.shown[0].style);
}

LSTATUS WINAPI OpenDenied(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY) {
  return ERROR_ACCESS_DENIED;
}
LSTATUS WINAPI CreateDenied(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD) {
  return ERROR_ACCESS_DENIED;
}
LSTATUS WINAPI SetDenied(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD) {
  return ERROR_ACCESS_DENIED;
}
int g_closes = 0;
LSTATUS WINAPI CountingClose(HKEY key) {
  ++g_closes;
  return RegCloseKey(key);
}

std::vector<std::pair<HKEY, REGSAM>> g_access;
LSTATUS WINAPI RecordingOpen(HKEY hive, LPCWSTR path, DWORD options, REGSAM access, PHKEY key) {
  g_access.emplace_back(hive, access);
  return RegOpenKeyExW(hive, path, options, access, key);
}
LSTATUS WINAPI RecordingCreate(HKEY hive,
                               LPCWSTR path,
                               DWORD reserved,
                               LPWSTR keyClass,
                               DWORD options,
                               REGSAM access,
                               LPSECURITY_ATTRIBUTES security,
                               PHKEY key,
                               LPDWORD disposition) {
  g_access.emplace_back(hive, access);
  return RegCreateKeyExW(hive, path, reserved, keyClass, options, access, security, key, disposition);
}

TEST_F(RegistrySettings, TheMachineHiveIsTakenThroughItsSixtyFourBitViewTheUserHiveAsItIs) {
  RegistryCalls().open = &RecordingOpen;
  RegistryCalls().create = &RecordingCreate;
  g_access.clear();
  ASSERT_TRUE(WriteInProgramHive(m_store, kSetupSettings, ESetting::kUnitCode, 1));
  ASSERT_TRUE(WriteLangBase(2000));
  EXPECT_EQ(1, ReadUnitCode(EHive::kLocalMachine));
  EXPECT_EQ(2000, ReadLangBase(EHive::kCurrentUser));
  const std::vector<std::pair<HKEY, REGSAM>> expected = {
      {HKEY_LOCAL_MACHINE, KEY_ALL_ACCESS | KEY_WOW64_64KEY},
      {HKEY_CURRENT_USER, KEY_ALL_ACCESS},
      {HKEY_LOCAL_MACHINE, KEY_READ | KEY_WOW64_64KEY},
      {HKEY_CURRENT_USER, KEY_READ}};
  EXPECT_EQ(expected, g_access);

  // A value left in the 32-bit view (where a 32-bit program would look by default) is not the one read.
  HKEY old = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0, nullptr, 0,
                                           KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &old, nullptr));
  const DWORD millimetres = 0;
  RegSetValueExW(old, L"UnitCode", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&millimetres), sizeof millimetres);
  RegCloseKey(old);
  EXPECT_EQ(1, ReadInProgramOrder(m_store, kSetupSettings, ESetting::kUnitCode));
  EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(RegistrySettings, OpenFailureOtherThanMissingKeyShowsTheSystemText) {
  SetDword(HKEY_CURRENT_USER, L"LangBaseID", 2000);
  RegistryCalls().open = &OpenDenied;
  EXPECT_EQ(kSettingAbsent, ReadLangBase(EHive::kCurrentUser));
  EXPECT_EQ(kSettingAbsent, ReadDarkness());
  ASSERT_EQ(2u, m_sink.shown.size());
  EXPECT_EQ(L"ReadLangBase: RegOpenKeyEx", m_sink.shown[0].caption);
  EXPECT_EQ(L"ReadDarkness: RegOpenKeyEx", m_sink.shown[1].caption);
  EXPECT_EQ(GetSystemMessageText(ERROR_ACCESS_DENIED), m_sink.shown[0].text);
  EXPECT_FALSE(m_sink.shown[0].text.empty());
}

TEST_F(RegistrySettings, WriteFailuresShowTheCallAndReturnFalse) {
  RegistryCalls().create = &CreateDenied;
  EXPECT_FALSE(WriteLangBase(1000));
  RegistryCalls().create = RealRegistryCalls().create;
  RegistryCalls().set = &SetDenied;
  RegistryCalls().close = &CountingClose;
  g_closes = 0;
  EXPECT_FALSE(WriteUnitCode(1));
  EXPECT_EQ(1, g_closes);  // the key opened for the write is not leaked
  ASSERT_EQ(2u, m_sink.shown.size());
  EXPECT_EQ(L"WriteLangBase: RegCreateKeyEx", m_sink.shown[0].caption);
  EXPECT_EQ(L"WriteUnitCode: RegSetValueEx", m_sink.shown[1].caption);
  EXPECT_EQ(-2, GetRaw(HKEY_CURRENT_USER, L"UnitCode"));
}

}  // namespace
}  // namespace vyx
