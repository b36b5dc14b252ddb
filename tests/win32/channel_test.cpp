// The print channel on the real Win32 calls: a file handle takes the file path of every step, and a printer
// queue whose port is a file receives the RAW document unchanged.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "common/seams/message_sink.h"
#include "manager/output/channel.h"
#include "manager/output/spooler_calls_win32.h"
#include "tests/support/file_bytes.h"
#include "tests/win32/test_printer.h"

namespace vyx {
namespace {

using vyx::testing::ReadFileBytes;

using testing::TempPath;

// Two documents of a small job, written through any channel.
void WriteTwoDocuments(COutputChannel& channel) {
  for (unsigned doc = 0; doc < 2; ++doc) {
    ASSERT_TRUE(channel.StartDocument(doc));
    EXPECT_TRUE(channel.Write("^XA\r\n^RR1\r\n", 11));
    const std::string body = "^FO" + std::to_string(doc) + ",0\r\n^XZ\r\n";
    EXPECT_TRUE(channel.Write(body.data(), body.size()));
    EXPECT_TRUE(channel.EndDocument());
  }
}

TEST(Win32Channel, FileOutputTakesTheFilePathAndMatchesTheMemoryChannel) {
  const std::wstring path = TempPath(L"vyx_channel_file.zpl");
  CWin32SpoolerCalls calls;
  CRecordingMessageSink messages;
  {
    CPrintChannel channel(calls, messages, L"12_tag");
    channel.OpenFileOutput(path);
    ASSERT_NE(nullptr, channel.Handle());
    WriteTwoDocuments(channel);
    channel.CloseOutput();
  }
  EXPECT_TRUE(messages.shown.empty());
  CMemoryChannel memory;
  WriteTwoDocuments(memory);
  EXPECT_EQ(memory.Bytes(), ReadFileBytes(path));
  // The handle was closed by the file fallback: the file can be deleted at once.
  EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(Win32Channel, SpoolerCallsOnAFileHandleFailWithInvalidHandle) {
  const std::wstring path = TempPath(L"vyx_channel_probe.zpl");
  CWin32SpoolerCalls calls;
  OutputHandle file = calls.CreateOutputFile(path);
  ASSERT_NE(nullptr, file);
  EXPECT_FALSE(calls.StartRawDocPrinter(file, L"x"));
  EXPECT_EQ(kErrorInvalidHandle, calls.LastError());
  std::uint32_t written = 7;
  EXPECT_FALSE(calls.WritePrinter(file, "a", 1, &written));
  EXPECT_EQ(kErrorInvalidHandle, calls.LastError());
  EXPECT_FALSE(calls.ClosePrinter(file));
  EXPECT_EQ(kErrorInvalidHandle, calls.LastError());
  EXPECT_TRUE(calls.CloseHandle(file));
  DeleteFileW(path.c_str());
}

TEST(Win32Channel, UnknownPrinterShowsTheOpenFailure) {
  CWin32SpoolerCalls calls;
  CRecordingMessageSink messages;
  CPrintChannel channel(calls, messages, L"1_t");
  EXPECT_FALSE(channel.OpenPrinterOutput(L"No Such VYX Printer"));
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"OpenPrinter( No Such VYX Printer ) failed: 1801", messages.shown[0].text);
  EXPECT_EQ(L"OpenChannel", messages.shown[0].caption);
}

TEST(Win32Channel, SystemMessageComesFromTheSystemTable) {
  CWin32SpoolerCalls calls;
  EXPECT_EQ(0u, calls.SystemMessage(5).find(L"Access denied."));
  EXPECT_EQ(L"", calls.SystemMessage(3000));
}

// A printer queue whose port is a file: the RAW documents land there unchanged.
TEST(Win32Channel, PrinterQueueReceivesTheRawDocuments) {
  const std::wstring port = TempPath(L"vyx_channel_port.prn");
  DeleteFileW(port.c_str());
  testing::CTestPrinterQueue printerQueue(L"VYX Channel Test", port);
  if (!printerQueue.Ok()) GTEST_SKIP() << "the spooler did not take a test queue";
  const wchar_t* queue = L"VYX Channel Test";

  CWin32SpoolerCalls calls;
  CRecordingMessageSink messages;
  CPrintChannel channel(calls, messages, L"3_q");
  ASSERT_TRUE(channel.OpenPrinterOutput(queue));
  ASSERT_TRUE(channel.StartDocument(0));
  EXPECT_TRUE(channel.Write("^XA\r\n^XZ\r\n", 10));
  EXPECT_TRUE(channel.EndDocument());
  channel.CloseOutput();
  EXPECT_TRUE(messages.shown.empty());

  std::string landed;
  for (int i = 0; i < 50 && landed.size() < 10; ++i) {
    Sleep(100);
    landed = ReadFileBytes(port);
  }
  EXPECT_EQ("^XA\r\n^XZ\r\n", landed);

  DeleteFileW(port.c_str());
}

}  // namespace
}  // namespace vyx
