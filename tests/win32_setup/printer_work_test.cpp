// The printer page's work against Wine's spooler: a printer of a test driver named "VYX - Q5" added at level 2 on
// "FILE:", shared and made default, moved to another port and back, and deleted twice (the second time it is
// already gone). The driver package steps are a stand-in that succeeds, as Wine cannot upload packages.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <vector>

#include "common/seams/debug_output.h"
#include "common/seams/message_sink.h"
#include "common/seams/message_sink_win32.h"
#include "setup/port_monitor_calls_win32.h"
#include "setup/printer_calls_win32.h"
#include "setup/printer_work.h"
#include "setup/socket_calls_win32.h"
#include "setup/spooler_enum_win32.h"
#include "tests/win32/test_printer.h"

namespace vyx {
namespace {

class CUploadedPackage : public CUnavailableDriverPackage {
 public:
  using CUnavailableDriverPackage::CUnavailableDriverPackage;
  unsigned long UpdateMonitorFile() override { return 0; }
  unsigned long UploadPackage(std::wstring& store_path) override {
    store_path = L"C:\\windows\\inf\\vyxqfive.inf";
    return 0;
  }
  unsigned long InstallFromPackage(const std::wstring&) override { return 0; }
};

struct CReadBack {
  bool found = false;
  std::wstring share, port, driver, processor;
  DWORD attributes = 0, priority = 0;
};

CReadBack ReadPrinter(const wchar_t* name) {
  CReadBack read;
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(name), &printer, nullptr) || printer == nullptr) return read;
  std::vector<BYTE> buffer;
  if (WrapGetPrinter(printer, 2, buffer) == 0) {
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    read.found = true;
    read.share = info->pShareName != nullptr ? info->pShareName : L"";
    read.port = info->pPortName != nullptr ? info->pPortName : L"";
    read.driver = info->pDriverName != nullptr ? info->pDriverName : L"";
    read.processor = info->pPrintProcessor != nullptr ? info->pPrintProcessor : L"";
    read.attributes = info->Attributes;
    read.priority = info->Priority;
  }
  ClosePrinter(printer);
  return read;
}

TEST(PrinterWork, CreatesMovesAndDeletesAPrinterThroughWinesSpooler) {
  CRecordingMessageSink messages;
  CMessageSink* const previous = SetProgramMessageSink(&messages);
  // Installs the test driver under the model's name; its own queue sits on a file port of its own.
  testing::CTestPrinterQueue helper(L"VYX Work Helper", testing::TempPath(L"vyx_work_helper.prn"), L"VYX - Q5");
  ASSERT_TRUE(helper.Ok());
  CNullDebugOutput debug;
  CUploadedPackage package(messages, debug);
  CWinsockCalls sockets;
  CWin32PortMonitorCalls monitor;
  const CLanguageText text;
  CWin32PrinterCalls calls(GetModuleHandleW(nullptr), text, sockets, monitor);
  CWin32SpoolerQueries spooler;
  CPrinterWork work(calls, monitor, spooler, package, messages, text);
  const wchar_t* const name = L"VYX Wine Label";

  EXPECT_TRUE(work.CreatePrinter({name, L"FILE:", true, true}));
  const CReadBack added = ReadPrinter(name);
  ASSERT_TRUE(added.found);
  EXPECT_EQ(name, added.share);
  EXPECT_EQ(L"FILE:", added.port);
  EXPECT_EQ(L"VYX - Q5", added.driver);
  EXPECT_EQ(L"winprint", added.processor);
  EXPECT_EQ(0x208u, added.attributes & 0x208u);
  EXPECT_EQ(1u, added.priority);
  wchar_t default_name[256] = {};
  DWORD size = 256;
  ASSERT_TRUE(GetDefaultPrinterW(default_name, &size));
  EXPECT_STREQ(name, default_name);

  // Off "FILE:" and back, as a busy port's printers are moved; the helper's queue is on another port and stays.
  const std::wstring other = testing::TempPath(L"vyx_work_moved.prn");
  CSpoolerPortMover mover(calls, spooler, messages);
  EXPECT_EQ(1, mover.MovePrinters(L"FILE:", other));
  EXPECT_EQ(other, ReadPrinter(name).port);
  mover.MoveBack();
  EXPECT_EQ(L"FILE:", ReadPrinter(name).port);

  EXPECT_TRUE(work.DeletePrinter(name));
  EXPECT_FALSE(ReadPrinter(name).found);
  EXPECT_TRUE(work.DeletePrinter(name));  // already gone: Wine answers 1801
  // The settings upgrade warns about the test driver's own private settings (not this driver's); nothing else may
  // have been shown.
  for (const auto& shown : messages.shown) {
    if (shown.caption != L"VYX Setup warning") ADD_FAILURE() << "message: " << shown.caption << " / " << shown.text;
  }
  SetProgramMessageSink(previous);
}

}  // namespace
}  // namespace vyx
