// Hive orders, absent values and the unit default shared by the setup program and the manager.
#include "common/settings.h"

namespace vyx {

int CMemorySettingsStore::Read(EHive hive, ESetting setting) {
  const auto it = values.find({hive, setting});
  if (it == values.end() || it->second < 0) return kSettingAbsent;
  return it->second;
}

bool CMemorySettingsStore::Write(EHive hive, ESetting setting, int value) {
  values[{hive, setting}] = value;
  ++writes;
  return true;
}

int ReadInProgramOrder(CSettingsStore& store, const CProgramSettings& program, ESetting setting) {
  if (setting == ESetting::kDarkness) return ReadProgramDarkness(store, program);
  for (int i = 0; i < program.read_count && i < 2; ++i) {
    const int value = store.Read(program.read_order[i], setting);
    if (value >= 0) return value;
  }
  return kSettingAbsent;
}

int ReadProgramDarkness(CSettingsStore& store, const CProgramSettings& program) {
  if (!program.darkness_readable) return kSettingAbsent;
  const int value = store.Read(EHive::kCurrentUser, ESetting::kDarkness);
  return value >= 0 ? value : kSettingAbsent;
}

bool WriteInProgramHive(CSettingsStore& store, const CProgramSettings& program, ESetting setting, int value) {
  return store.Write(program.write_hive, setting, value);
}

int UnitFromMeasurementSystem(bool query_succeeded, const std::wstring& measure) {
  if (!query_succeeded) return kUnitMillimetres;
  return measure == L"0" ? kUnitMillimetres : kUnitInches;
}

int ReadUnitCodeOrLocaleDefault(CSettingsStore& store,
                                const CProgramSettings& program,
                                bool (*measure)(std::wstring& text)) {
  const int stored = ReadInProgramOrder(store, program, ESetting::kUnitCode);
  if (stored >= 0) return stored;
  std::wstring text;
  const bool ok = measure != nullptr && measure(text);
  return UnitFromMeasurementSystem(ok, text);
}

}  // namespace vyx
