// Registry access for the settings store. Compiled once per program: VYX_PROGRAM_SETUP selects the setup
// program's hives (machine only), anything else the manager's (user before machine).
#include "common/settings_win32.h"

#include "common/failure_message.h"
#include "common/failure_message_win32.h"

namespace vyx {
namespace {

const CRegistryCalls kRealCalls = {&RegOpenKeyExW,  &RegQueryValueExW, &RegCreateKeyExW,
                                   &RegSetValueExW, &RegFlushKey,      &RegCloseKey};
CRegistryCalls g_calls = kRealCalls;

const wchar_t* ValueName(ESetting setting) {
  switch (setting) {
    case ESetting::kLangBase:
      return L"LangBaseID";
    case ESetting::kUnitCode:
      return L"UnitCode";
    default:
      return L"Darkness";
  }
}

const wchar_t* ReadOperation(ESetting setting) {
  switch (setting) {
    case ESetting::kLangBase:
      return L"ReadLangBase";
    case ESetting::kUnitCode:
      return L"ReadUnitCode";
    default:
      return L"ReadDarkness";
  }
}

const wchar_t* WriteOperation(ESetting setting) {
  switch (setting) {
    case ESetting::kLangBase:
      return L"WriteLangBase";
    case ESetting::kUnitCode:
      return L"WriteUnitCode";
    default:
      return L"WriteDarkness";
  }
}

// Reads 4 bytes whatever the stored type; a missing key or value is silent, other failures are shown.
int ReadSettingValue(EHive hive, ESetting setting) {
  HKEY key = nullptr;
  LSTATUS rc = g_calls.open(HiveKey(hive), kSettingsKeyPath, 0, SettingsKeyAccess(hive, KEY_READ), &key);
  if (rc == ERROR_FILE_NOT_FOUND) return kSettingAbsent;
  if (rc != ERROR_SUCCESS) {
    ShowFailureMessage(static_cast<unsigned long>(rc), MakeFailureCaption(ReadOperation(setting), L"RegOpenKeyEx"));
    return kSettingAbsent;
  }
  DWORD data = 0;  // a shorter value leaves the rest zero
  DWORD size = sizeof data;
  rc = g_calls.query(key, ValueName(setting), nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size);
  int result = kSettingAbsent;
  if (rc == ERROR_SUCCESS) {
    const int value = static_cast<int>(data);
    if (value >= 0) result = value;
  } else if (rc > ERROR_FILE_NOT_FOUND) {
    ShowFailureMessage(static_cast<unsigned long>(rc), MakeFailureCaption(ReadOperation(setting), L"RegQueryValueEx"));
  }
  g_calls.close(key);
  return result;
}

}  // namespace

CRegistryCalls& RegistryCalls() {
  return g_calls;
}
const CRegistryCalls& RealRegistryCalls() {
  return kRealCalls;
}

HKEY HiveKey(EHive hive) {
  return hive == EHive::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

REGSAM SettingsKeyAccess(EHive hive, REGSAM access) {
  // The 64-bit setup program and the 32-bit manager must meet in one machine key, so the machine hive is always
  // taken through its 64-bit view; the user hive is shared between the views.
  return hive == EHive::kLocalMachine ? access | KEY_WOW64_64KEY : access;
}

const CProgramSettings& ThisProgramSettings() {
#if defined(VYX_PROGRAM_SETUP)
  return kSetupSettings;
#else
  return kManagerSettings;
#endif
}

bool WriteSettingValue(EHive hive, ESetting setting, int value) {
  HKEY key = nullptr;
  wchar_t key_class[] = L"key";
  LSTATUS rc = g_calls.create(HiveKey(hive), kSettingsKeyPath, 0, key_class, REG_OPTION_NON_VOLATILE,
                              SettingsKeyAccess(hive, KEY_ALL_ACCESS), nullptr, &key, nullptr);
  if (rc != ERROR_SUCCESS) {
    ShowFailureMessage(static_cast<unsigned long>(rc), MakeFailureCaption(WriteOperation(setting), L"RegCreateKeyEx"));
    return false;
  }
  const DWORD data = static_cast<DWORD>(value);
  rc = g_calls.set(key, ValueName(setting), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
  if (rc != ERROR_SUCCESS) {
    ShowFailureMessage(static_cast<unsigned long>(rc), MakeFailureCaption(WriteOperation(setting), L"RegSetValueEx"));
    g_calls.close(key);
    return false;
  }
  g_calls.flush(key);
  g_calls.close(key);
  return true;
}

int ReadLangBase(EHive hive) {
  return ReadSettingValue(hive, ESetting::kLangBase);
}
int ReadUnitCode(EHive hive) {
  return ReadSettingValue(hive, ESetting::kUnitCode);
}
int ReadDarkness() {
  return ReadSettingValue(EHive::kCurrentUser, ESetting::kDarkness);
}

bool WriteLangBase(int base) {
  return WriteSettingValue(ThisProgramSettings().write_hive, ESetting::kLangBase, base);
}
bool WriteUnitCode(int code) {
  return WriteSettingValue(ThisProgramSettings().write_hive, ESetting::kUnitCode, code);
}

bool QueryLocaleMeasure(std::wstring& text) {
  wchar_t buffer[2] = {};
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, buffer, 2);
  if (n <= 0) return false;
  text.assign(buffer, static_cast<std::size_t>(n - 1));
  return true;
}

int ReadUnitCodeWithDefault() {
  CRegistrySettingsStore store;
  return ReadUnitCodeOrLocaleDefault(store, ThisProgramSettings(), &QueryLocaleMeasure);
}

int CRegistrySettingsStore::Read(EHive hive, ESetting setting) {
  return ReadSettingValue(hive, setting);
}

bool CRegistrySettingsStore::Write(EHive hive, ESetting setting, int value) {
  return WriteSettingValue(hive, setting, value);
}

}  // namespace vyx
