// The settings upgrade against the real spooler: two queues of a test driver named "VYX - Q5" whose stored
// settings (printer default and user's) carry a 200-byte private block with a foreign signature.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/seams/message_sink_win32.h"
#include "setup/devmode_upgrade_win32.h"
#include "tests/win32/test_printer.h"

namespace vyx {
namespace {

constexpr std::size_t kPublic = sizeof(DEVMODEW);
constexpr std::size_t kOldPrivate = 200;

// A record as an older driver left it: its own private bytes (offset + 0x30), signature "ACME", version 0x0901.
std::vector<BYTE> OldRecord(const wchar_t* printer) {
  std::vector<BYTE> bytes(kPublic + kOldPrivate);
  auto* record = reinterpret_cast<DEVMODEW*>(bytes.data());
  lstrcpynW(record->dmDeviceName, printer, CCHDEVICENAME);
  record->dmSpecVersion = DM_SPECVERSION;
  record->dmDriverVersion = 0x0400;
  record->dmSize = kPublic;
  record->dmDriverExtra = kOldPrivate;
  record->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY;
  record->dmOrientation = DMORIENT_LANDSCAPE;
  record->dmPaperSize = DMPAPER_A4;
  record->dmCopies = 2;
  record->dmPrintQuality = 300;
  record->dmDisplayFrequency = 7;
  BYTE* old_private = bytes.data() + kPublic;
  for (std::size_t i = 0; i < kOldPrivate; ++i) old_private[i] = static_cast<BYTE>(i + 0x30);
  std::memcpy(old_private, "ACME", 4);
  const DWORD version = 0x0901;
  std::memcpy(old_private + 4, &version, 4);
  return bytes;
}

// What the upgrade must store: the public part with the new driver version, private size, fields and one more
// display frequency; the old private bytes with "ZVYX" and version 0x1003; zeros up to 256 bytes; the marker word
// 8 bytes before the end.
std::vector<BYTE> Expected(const std::vector<BYTE>& old, DWORD frequency_steps) {
  std::vector<BYTE> bytes(kPublic + 256, 0);
  std::memcpy(bytes.data(), old.data(), kPublic + kOldPrivate);
  auto* record = reinterpret_cast<DEVMODEW*>(bytes.data());
  record->dmDriverVersion = 0x0500;
  record->dmDriverExtra = 256;
  record->dmFields = 0x091F;
  record->dmDisplayFrequency += frequency_steps;
  std::memcpy(bytes.data() + kPublic, "ZVYX", 4);
  const DWORD version = 0x1003, marker = 0xFFFFFFFF;
  std::memcpy(bytes.data() + kPublic + 4, &version, 4);
  std::memcpy(bytes.data() + kPublic + 256 - 8, &marker, 4);
  return bytes;
}

bool Store(const wchar_t* printer, DWORD level, std::vector<BYTE> record) {
  PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE handle = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(printer), &handle, &all)) return false;
  PRINTER_INFO_9W info{reinterpret_cast<DEVMODEW*>(record.data())};
  const BOOL ok = SetPrinterW(handle, level, reinterpret_cast<BYTE*>(&info), 0);
  ClosePrinter(handle);
  return ok != FALSE;
}

// The stored record at `level`, as many bytes as its sizes say; empty when there is none. The characters after the
// end of the device and form names are cleared: Wine stores whatever its copy buffer held there.
std::vector<BYTE> Read(const wchar_t* printer, DWORD level) {
  HANDLE handle = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(printer), &handle, nullptr)) return {};
  DWORD needed = 0;
  GetPrinterW(handle, level, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  std::vector<BYTE> record;
  if (needed > 0 && GetPrinterW(handle, level, info.data(), needed, &needed)) {
    const DEVMODEW* stored = reinterpret_cast<PRINTER_INFO_9W*>(info.data())->pDevMode;
    if (stored != nullptr) {
      const auto* start = reinterpret_cast<const BYTE*>(stored);
      record.assign(start, start + stored->dmSize + stored->dmDriverExtra);
      auto* copy = reinterpret_cast<DEVMODEW*>(record.data());
      for (wchar_t* name : {copy->dmDeviceName, copy->dmFormName}) {
        std::fill(name + wcsnlen(name, CCHDEVICENAME), name + CCHDEVICENAME, L'\0');
      }
    }
  }
  ClosePrinter(handle);
  return record;
}

class SettingsUpgrade : public ::testing::Test {
 protected:
  void SetUp() override { m_before = SetProgramMessageSink(&m_sink); }
  void TearDown() override { SetProgramMessageSink(m_before); }
  CRecordingMessageSink m_sink;
  CMessageSink* m_before = nullptr;
};

TEST_F(SettingsUpgrade, PrintersOfTheModelAreUpgradedAtBothLevelsAndOthersLeftAlone) {
  const wchar_t* names[] = {L"VYX Upgrade A", L"VYX Upgrade B"};
  testing::CTestPrinterQueue first(names[0], testing::TempPath(L"vyx_upgrade_a.prn"), L"VYX - Q5");
  testing::CTestPrinterQueue second(names[1], testing::TempPath(L"vyx_upgrade_b.prn"), L"VYX - Q5");
  testing::CTestPrinterQueue other(L"VYX Upgrade Other", testing::TempPath(L"vyx_upgrade_o.prn"));
  ASSERT_TRUE(first.Ok() && second.Ok() && other.Ok());
  // The user's settings differ from the printer's in the copies.
  auto stored = [](const wchar_t* name, DWORD level) {
    std::vector<BYTE> record = OldRecord(name);
    reinterpret_cast<DEVMODEW*>(record.data())->dmCopies = static_cast<short>(level == 8 ? 2 : 3);
    return record;
  };
  for (const wchar_t* name : {names[0], names[1], L"VYX Upgrade Other"}) {
    for (DWORD level : {8u, 9u}) ASSERT_TRUE(Store(name, level, stored(name, level))) << level;
  }
  // Windows keeps the two levels apart; Wine keeps one record for both, which the second upgrade finds current.
  const bool one_record = Read(names[0], 8) == stored(names[0], 9);

  EXPECT_EQ(4, UpgradeAllDevmodes());
  ASSERT_EQ(one_record ? 2u : 4u, m_sink.shown.size());
  for (const auto& shown : m_sink.shown) {
    EXPECT_EQ(L"wrong private DEVMODE signature!", shown.text);
    EXPECT_EQ(L"VYX Setup warning", shown.caption);
  }
  for (const wchar_t* name : names) {
    for (DWORD level : {8u, 9u}) {
      const std::vector<BYTE> expected = one_record ? Expected(stored(name, 9), 2) : Expected(stored(name, level), 1);
      EXPECT_EQ(expected, Read(name, level)) << level;
    }
  }
  EXPECT_EQ(stored(L"VYX Upgrade Other", one_record ? 9 : 8), Read(L"VYX Upgrade Other", 8));

  // Now current: a second run only steps the display frequency again, without a warning.
  m_sink.shown.clear();
  EXPECT_EQ(4, UpgradeAllDevmodes());
  EXPECT_TRUE(m_sink.shown.empty());
  EXPECT_EQ(one_record ? Expected(stored(names[0], 9), 4) : Expected(stored(names[0], 8), 2), Read(names[0], 8));
}

TEST_F(SettingsUpgrade, OnlyLevelsEightAndNineAndExistingPrinters) {
  EXPECT_EQ(0, UpgradeDevmode(2, L"VYX Upgrade A"));
  EXPECT_TRUE(m_sink.shown.empty());
  EXPECT_EQ(0, UpgradeDevmode(8, L"No such VYX printer"));
  ASSERT_EQ(1u, m_sink.shown.size());
  EXPECT_EQ(L"No such VYX printer", m_sink.shown[0].caption);
  EXPECT_EQ(L"Invalid printer name.", m_sink.shown[0].text.substr(0, 21));
}

}  // namespace
}  // namespace vyx
