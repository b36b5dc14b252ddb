// The three settings that outlive a run (language base, length unit, darkness): which hive each program reads and
// writes, and the rules for absent values and defaults. The registry access itself is in settings_win32.cpp.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace vyx {

enum class EHive { kCurrentUser, kLocalMachine };
enum class ESetting { kLangBase, kUnitCode, kDarkness };

inline constexpr int kSettingAbsent = -1;
inline constexpr int kUnitMillimetres = 0;
inline constexpr int kUnitInches = 1;

// What differs between the setup program and the manager.
struct CProgramSettings {
  EHive read_order[2];  // for "LangBaseID" and "UnitCode": the first value that is not negative wins
  int read_count;
  EHive write_hive;
  bool darkness_readable;    // only the manager reads "Darkness" (from the current user's hive)
  bool system_locale;        // language detection from the system's locale (setup) or the user's (manager)
  const char* program_name;  // for diagnostics
};

// The setup program keeps machine-wide defaults; the manager keeps per-user choices that override them.
inline constexpr CProgramSettings kSetupSettings = {
    {EHive::kLocalMachine, EHive::kLocalMachine}, 1, EHive::kLocalMachine, false, true, "setup"};
inline constexpr CProgramSettings kManagerSettings = {
    {EHive::kCurrentUser, EHive::kLocalMachine}, 2, EHive::kCurrentUser, true, false, "manager"};

// Where the values live. Reads give kSettingAbsent for a value that is missing, unreadable or negative.
class CSettingsStore {
 public:
  virtual ~CSettingsStore() = default;
  virtual int Read(EHive hive, ESetting setting) = 0;
  virtual bool Write(EHive hive, ESetting setting, int value) = 0;
};

// Keeps values in memory: for tests and for programs run without a registry.
class CMemorySettingsStore : public CSettingsStore {
 public:
  int Read(EHive hive, ESetting setting) override;
  bool Write(EHive hive, ESetting setting, int value) override;
  std::map<std::pair<EHive, ESetting>, int> values;
  int writes = 0;
};

// Walks the program's hive list for "LangBaseID" or "UnitCode"; the first value that is not negative wins.
int ReadInProgramOrder(CSettingsStore& store, const CProgramSettings& program, ESetting setting);

// The stored darkness for the manager (current user only), or kSettingAbsent; the setup program never has one.
int ReadProgramDarkness(CSettingsStore& store, const CProgramSettings& program);

// Writes into the program's own hive.
bool WriteInProgramHive(CSettingsStore& store, const CProgramSettings& program, ESetting setting, int value);

// The unit for a locale's measurement system as the locale reports it ("0" metric, anything else imperial); a
// failed query counts as metric.
int UnitFromMeasurementSystem(bool query_succeeded, const std::wstring& measure);

// The stored unit, or the locale's when no hive holds one. `measure` answers the locale query: true and the
// text on success.
int ReadUnitCodeOrLocaleDefault(CSettingsStore& store,
                                const CProgramSettings& program,
                                bool (*measure)(std::wstring& text));

// Registry operations on Software\Zavo\VYX-Q5 (Windows builds; see settings_win32.cpp). Reads return the stored
// value or kSettingAbsent; writes go to the hive of the program being built and return false after showing the
// failure message.
int ReadLangBase(EHive hive);
bool WriteLangBase(int base);
int ReadUnitCode(EHive hive);
bool WriteUnitCode(int code);
int ReadDarkness();

}  // namespace vyx
