// The settings store in the registry under Software\Zavo\VYX-Q5, with the registry calls behind a table so that
// tests can make them fail.
#pragma once

#include <windows.h>

#include <string>

#include "common/settings.h"

namespace vyx {

inline constexpr const wchar_t* kSettingsKeyPath = L"Software\\Zavo\\VYX-Q5";

struct CRegistryCalls {
  decltype(&RegOpenKeyExW) open;
  decltype(&RegQueryValueExW) query;
  decltype(&RegCreateKeyExW) create;
  decltype(&RegSetValueExW) set;
  decltype(&RegFlushKey) flush;
  decltype(&RegCloseKey) close;
};

// The calls the settings functions make; the real API unless a test replaced members (restore them after).
CRegistryCalls& RegistryCalls();
const CRegistryCalls& RealRegistryCalls();

HKEY HiveKey(EHive hive);
// The access mask for the settings key under a hive: the machine hive through its 64-bit registry view.
REGSAM SettingsKeyAccess(EHive hive, REGSAM access);

// The program this library was built for: the setup program or the manager.
const CProgramSettings& ThisProgramSettings();

// Writes one value into a given hive; the operation name goes into the failure caption ("WriteLangBase").
bool WriteSettingValue(EHive hive, ESetting setting, int value);

// The locale's measurement system (LOCALE_IMEASURE of the user's default locale) into a 2-character buffer.
bool QueryLocaleMeasure(std::wstring& text);

// The unit of this program: the stored one from its hive list, else the user locale's.
int ReadUnitCodeWithDefault();

// The registry behind the store interface, for code that is shared with native builds.
class CRegistrySettingsStore : public CSettingsStore {
 public:
  int Read(EHive hive, ESetting setting) override;
  bool Write(EHive hive, ESetting setting, int value) override;
};

}  // namespace vyx
