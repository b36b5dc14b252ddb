// Which hive each program trusts, what counts as absent, the unit default and the failure message form.
#include <gtest/gtest.h>

#include "common/failure_message.h"
#include "common/settings.h"

namespace vyx {
namespace {

TEST(Settings, ManagerPrefersTheUserValueOverTheMachineValue) {
  CMemorySettingsStore store;
  store.Write(EHive::kCurrentUser, ESetting::kLangBase, 3000);
  store.Write(EHive::kLocalMachine, ESetting::kLangBase, 1000);
  EXPECT_EQ(3000, ReadInProgramOrder(store, kManagerSettings, ESetting::kLangBase));
  EXPECT_EQ(1000, ReadInProgramOrder(store, kSetupSettings, ESetting::kLangBase));
  store.values.erase({EHive::kCurrentUser, ESetting::kLangBase});
  EXPECT_EQ(1000, ReadInProgramOrder(store, kManagerSettings, ESetting::kLangBase));
}

TEST(Settings, SetupIgnoresTheUserHive) {
  CMemorySettingsStore store;
  store.Write(EHive::kCurrentUser, ESetting::kUnitCode, 1);
  EXPECT_EQ(kSettingAbsent, ReadInProgramOrder(store, kSetupSettings, ESetting::kUnitCode));
  EXPECT_EQ(1, ReadInProgramOrder(store, kManagerSettings, ESetting::kUnitCode));
}

TEST(Settings, NegativeValuesCountAsAbsentAndTheNextHiveIsAsked) {
  CMemorySettingsStore store;
  store.Write(EHive::kCurrentUser, ESetting::kLangBase, -1);
  store.Write(EHive::kLocalMachine, ESetting::kLangBase, 2000);
  EXPECT_EQ(2000, ReadInProgramOrder(store, kManagerSettings, ESetting::kLangBase));
  store.Write(EHive::kLocalMachine, ESetting::kLangBase, -5);
  EXPECT_EQ(kSettingAbsent, ReadInProgramOrder(store, kManagerSettings, ESetting::kLangBase));
}

TEST(Settings, DarknessComesFromTheUserHiveOfTheManagerOnly) {
  CMemorySettingsStore store;
  store.Write(EHive::kLocalMachine, ESetting::kDarkness, 20);
  EXPECT_EQ(kSettingAbsent, ReadProgramDarkness(store, kManagerSettings));
  store.Write(EHive::kCurrentUser, ESetting::kDarkness, 12);
  EXPECT_EQ(12, ReadProgramDarkness(store, kManagerSettings));
  EXPECT_EQ(12, ReadInProgramOrder(store, kManagerSettings, ESetting::kDarkness));
  EXPECT_EQ(kSettingAbsent, ReadProgramDarkness(store, kSetupSettings));
}

TEST(Settings, EachProgramWritesItsOwnHive) {
  CMemorySettingsStore store;
  EXPECT_TRUE(WriteInProgramHive(store, kSetupSettings, ESetting::kLangBase, 2000));
  EXPECT_TRUE(WriteInProgramHive(store, kManagerSettings, ESetting::kLangBase, 0));
  EXPECT_EQ(2000, (store.values[{EHive::kLocalMachine, ESetting::kLangBase}]));
  EXPECT_EQ(0, (store.values[{EHive::kCurrentUser, ESetting::kLangBase}]));
  EXPECT_EQ(2, store.writes);
}

TEST(Settings, UnitFallsBackToTheLocaleMeasurementSystem) {
  CMemorySettingsStore store;
  const auto metric = [](std::wstring& text) {
    text = L"0";
    return true;
  };
  const auto imperial = [](std::wstring& text) {
    text = L"1";
    return true;
  };
  const auto failing = [](std::wstring&) { return false; };
  EXPECT_EQ(kUnitMillimetres, ReadUnitCodeOrLocaleDefault(store, kManagerSettings, metric));
  EXPECT_EQ(kUnitInches, ReadUnitCodeOrLocaleDefault(store, kManagerSettings, imperial));
  EXPECT_EQ(kUnitMillimetres, ReadUnitCodeOrLocaleDefault(store, kManagerSettings, failing));
  EXPECT_EQ(kUnitMillimetres, ReadUnitCodeOrLocaleDefault(store, kManagerSettings, nullptr));
  // A stored -1 is absent; a stored 0 is a choice the locale must not override.
  store.Write(EHive::kCurrentUser, ESetting::kUnitCode, -1);
  EXPECT_EQ(kUnitInches, ReadUnitCodeOrLocaleDefault(store, kManagerSettings, imperial));
  store.Write(EHive::kLocalMachine, ESetting::kUnitCode, 0);
  EXPECT_EQ(kUnitMillimetres, ReadUnitCodeOrLocaleDefault(store, kManagerSettings, imperial));
  EXPECT_EQ(kUnitMillimetres, ReadUnitCodeOrLocaleDefault(store, kSetupSettings, imperial));
}

TEST(Settings, AnyMeasurementOtherThanMetricIsInches) {
  EXPECT_EQ(kUnitMillimetres, UnitFromMeasurementSystem(true, L"0"));
  EXPECT_EQ(kUnitInches, UnitFromMeasurementSystem(true, L"1"));
  EXPECT_EQ(kUnitInches, UnitFromMeasurementSystem(true, L""));
  EXPECT_EQ(kUnitMillimetres, UnitFromMeasurementSystem(false, L"1"));
}

std::wstring FakeSystemText(unsigned long error) {
  return L"system text " + std::to_wstring(error);
}

TEST(FailureMessage, ShowsTheSystemTextUnderTheOperationCaptionWithOkOnly) {
  CRecordingMessageSink sink;
  ShowFailureMessage(sink, 5, MakeFailureCaption(L"ReadLangBase", L"RegOpenKeyEx"), &FakeSystemText);
  ASSERT_EQ(1u, sink.shown.size());
  EXPECT_EQ(L"system text 5", sink.shown[0].text);
  EXPECT_EQ(L"ReadLangBase: RegOpenKeyEx", sink.shown[0].caption);
  EXPECT_EQ(static_cast<unsigned>(kMbOk), sink.shown[0].style);
}

TEST(FailureMessage, ErrorZeroShowsNothing) {
  CRecordingMessageSink sink;
  ShowFailureMessage(sink, 0, L"LoadLibrary", &FakeSystemText);
  EXPECT_TRUE(sink.shown.empty());
}

}  // namespace
}  // namespace vyx
