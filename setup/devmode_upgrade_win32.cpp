// Reads a printer's stored settings, rewrites them with UpgradeDevmodeRecord and writes them back.
#include "setup/devmode_upgrade_win32.h"

#include <winspool.h>

#include <cstring>
#include <vector>

#include "common/failure_message_win32.h"
#include "common/seams/debug_output_win32.h"
#include "common/seams/message_sink_win32.h"
#include "setup/devmode_upgrade.h"
#include "setup/spooler_enum_win32.h"
#include "setup/wizard_state.h"

namespace vyx {
namespace {

// The settings record inside a level-8 or level-9 answer, and how many bytes of the answer follow its start.
std::span<const std::uint8_t> RecordIn(const std::vector<BYTE>& info, DWORD level) {
  // Both levels hold nothing but the record pointer.
  static_assert(offsetof(PRINTER_INFO_8W, pDevMode) == 0 && offsetof(PRINTER_INFO_9W, pDevMode) == 0);
  if (info.size() <= sizeof(PRINTER_INFO_8W)) return {};
  const DEVMODEW* record = level == 8 ? reinterpret_cast<const PRINTER_INFO_8W*>(info.data())->pDevMode
                                      : reinterpret_cast<const PRINTER_INFO_9W*>(info.data())->pDevMode;
  const auto* start = reinterpret_cast<const std::uint8_t*>(record);
  const std::uint8_t* begin = info.data();
  const std::uint8_t* end = begin + info.size();
  // The spooler packs the record into the answer; a pointer elsewhere cannot be bounded and is not followed.
  if (start == nullptr || start < begin || start >= end) return {};
  return {start, static_cast<std::size_t>(end - start)};
}

bool HasRecord(const std::vector<BYTE>& info, DWORD level) {
  if (info.size() <= sizeof(PRINTER_INFO_8W)) return false;
  return (level == 8 ? reinterpret_cast<const PRINTER_INFO_8W*>(info.data())->pDevMode
                     : reinterpret_cast<const PRINTER_INFO_9W*>(info.data())->pDevMode) != nullptr;
}

}  // namespace

int UpgradeDevmode(DWORD level, const std::wstring& printer) {
  if (level != 8 && level != 9) return 0;
  PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE handle = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(printer.c_str()), &handle, &all)) {
    ShowFailureMessage(GetLastError(), printer);
    return 0;
  }
  std::vector<BYTE> info;
  const DWORD error = WrapGetPrinter(handle, level, info);
  if (error != 0) {
    ShowFailureMessage(error, L"UpgradeDevmode: WrapGetPrinter");
    ClosePrinter(handle);
    return 0;
  }
  if (!HasRecord(info, level)) {
    ClosePrinter(handle);
    return 1;  // no settings stored at this level: nothing to upgrade
  }
  const CDevmodeUpgradeResult upgraded = UpgradeDevmodeRecord(RecordIn(info, level));
  if (upgraded.outcome == EDevmodeUpgrade::kInvalid) {
    CWin32DebugOutput().Print(L"UpgradeDevmode: settings of \"" + printer + L"\" at level " + std::to_wstring(level) +
                              L" do not fit their own sizes, left alone\n");
    ClosePrinter(handle);
    return 0;
  }
  if (upgraded.signature_repaired) {
    ProgramMessageSink().Show(L"wrong private DEVMODE signature!", L"VYX Setup warning", kMbOk);
  }
  // The new record in memory suitably aligned for the spooler to read as a DEVMODEW.
  std::vector<DEVMODEW> aligned((upgraded.record.size() + sizeof(DEVMODEW) - 1) / sizeof(DEVMODEW));
  std::memcpy(aligned.data(), upgraded.record.data(), upgraded.record.size());
  PRINTER_INFO_9W settings{aligned.data()};  // the same layout as level 8
  const BOOL written = SetPrinterW(handle, level, reinterpret_cast<BYTE*>(&settings), 0);
  if (!written) ShowFailureMessage(GetLastError(), L"UpgradeDevmode: SetPrinter");
  ClosePrinter(handle);
  return written ? 1 : 0;
}

int UpgradeAllDevmodes() {
  std::vector<CPrinterRecord> printers;
  const DWORD error = ListLocalPrinters(printers);
  if (error != 0) {
    ShowFailureMessage(error, L"UpgradeAllDevmodes: WrapEnumPrinters");
    return -1;
  }
  int upgraded = 0;
  for (const CPrinterRecord& printer : printers) {
    if (printer.driver != kDriverName) continue;
    if (UpgradeDevmode(8, printer.name) != 0) ++upgraded;
    if (UpgradeDevmode(9, printer.name) != 0) ++upgraded;
  }
  return upgraded;
}

}  // namespace vyx
