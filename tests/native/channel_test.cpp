// The print channel's rules against a spooler double: fallbacks on "invalid handle", shown failures, short writes,
// document names, and the native file calls that behave as a file handle does on Windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "common/seams/message_sink.h"
#include "manager/output/channel.h"
#include "manager/output/file_spooler_calls.h"

namespace vyx {
namespace {

// A spooler whose every call is logged and can be made to fail with a chosen code.
class CFakeSpooler : public CSpoolerCalls {
 public:
  std::map<std::string, std::uint32_t> failures;  // call name -> error code
  std::uint32_t acceptAtMost = 0xFFFFFFFF;        // bytes WritePrinter reports as written
  bool nullHandleOnOpen = false;
  std::uint32_t tick = 1000;
  std::vector<std::string> log;
  std::vector<std::wstring> documentNames;
  std::string printed, filed;
  std::uint32_t slept = 0;

  bool OpenPrinterHandle(const std::wstring&, OutputHandle* handle) override {
    *handle = nullHandleOnOpen ? nullptr : reinterpret_cast<OutputHandle>(0x42);
    return Call("OpenPrinter");
  }
  bool ClosePrinter(OutputHandle) override { return Call("ClosePrinter"); }
  OutputHandle CreateOutputFile(const std::wstring&) override {
    return Call("CreateFile") ? reinterpret_cast<OutputHandle>(0x43) : nullptr;
  }
  bool CloseHandle(OutputHandle) override { return Call("CloseHandle"); }
  bool StartRawDocPrinter(OutputHandle, const std::wstring& name) override {
    documentNames.push_back(name);
    return Call("StartDocPrinter");
  }
  bool StartPagePrinter(OutputHandle) override { return Call("StartPagePrinter"); }
  bool EndPagePrinter(OutputHandle) override { return Call("EndPagePrinter"); }
  bool EndDocPrinter(OutputHandle) override { return Call("EndDocPrinter"); }
  bool WritePrinter(OutputHandle handle, const void* data, std::uint32_t count, std::uint32_t* written) override {
    *written = 0;
    if (!handle) return Invalid();
    if (!Call("WritePrinter")) return false;
    *written = count < acceptAtMost ? count : acceptAtMost;
    printed.append(static_cast<const char*>(data), *written);
    return true;
  }
  bool WriteFile(OutputHandle handle, const void* data, std::uint32_t count, std::uint32_t* written) override {
    *written = 0;
    if (!handle) return Invalid();
    if (!Call("WriteFile")) return false;
    *written = count;
    filed.append(static_cast<const char*>(data), count);
    return true;
  }
  std::uint32_t LastError() override { return lastError; }
  std::uint32_t TickCount() override { return tick; }
  void Sleep(std::uint32_t ms) override {
    log.push_back("Sleep");
    slept += ms;
  }
  std::wstring SystemMessage(std::uint32_t code) override { return L"text of " + std::to_wstring(code); }

  // Every spooler call fails as it does on a file handle.
  void ActAsFile() {
    for (const char* c :
         {"ClosePrinter", "StartDocPrinter", "StartPagePrinter", "EndPagePrinter", "EndDocPrinter", "WritePrinter"})
      failures[c] = kErrorInvalidHandle;
  }

 private:
  bool Invalid() {
    lastError = kErrorInvalidHandle;
    return false;
  }
  bool Call(const char* name) {
    log.push_back(name);
    const auto f = failures.find(name);
    lastError = f == failures.end() ? 0 : f->second;
    return f == failures.end();
  }
  std::uint32_t lastError = 0;
};

struct ChannelFixture : ::testing::Test {
  CFakeSpooler spooler;
  CRecordingMessageSink messages;
  CPrintChannel channel{spooler, messages, L"7_abc"};
};

TEST_F(ChannelFixture, PrinterDocumentFramesOnePageAndWritesThroughTheSpooler) {
  ASSERT_TRUE(channel.OpenPrinterOutput(L"VYX-Q5"));
  ASSERT_TRUE(channel.StartDocument(0));
  EXPECT_TRUE(channel.Write("^XA\r\n", 5));
  EXPECT_TRUE(channel.EndDocument());
  channel.CloseOutput();
  EXPECT_EQ((std::vector<std::string>{"OpenPrinter", "StartDocPrinter", "StartPagePrinter", "WritePrinter",
                                      "EndPagePrinter", "EndDocPrinter", "ClosePrinter"}),
            spooler.log);
  EXPECT_EQ("^XA\r\n", spooler.printed);
  EXPECT_TRUE(spooler.filed.empty());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(nullptr, channel.Handle());
}

TEST_F(ChannelFixture, FileHandleTakesTheFilePathOfEveryStepSilently) {
  spooler.ActAsFile();
  channel.OpenFileOutput(L"out.zpl");
  ASSERT_NE(nullptr, channel.Handle());
  EXPECT_TRUE(channel.StartDocument(0));
  EXPECT_TRUE(channel.Write("abc", 3));
  EXPECT_TRUE(channel.EndDocument());
  channel.CloseOutput();
  EXPECT_EQ("abc", spooler.filed);
  EXPECT_EQ("CloseHandle", spooler.log.back());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ChannelFixture, DocumentNamesDifferWithinOneMillisecond) {
  channel.OpenPrinterOutput(L"p");
  channel.StartDocument(0);
  channel.StartDocument(1);
  ASSERT_EQ(2u, spooler.documentNames.size());
  EXPECT_EQ(L"VYXQ5_7_abc_1000", spooler.documentNames[0]);
  EXPECT_EQ(L"VYXQ5_7_abc_1001", spooler.documentNames[1]);
  EXPECT_EQ(L"VYXQ5_7_abc_1", channel.DocumentName(0xFFFFFFFFu, 2));  // wraps with the tick counter
}

TEST_F(ChannelFixture, ShortWriteFailsAlthoughTheCallSucceeded) {
  spooler.acceptAtMost = 2;
  channel.OpenPrinterOutput(L"p");
  EXPECT_FALSE(channel.Write("abc", 3));
  EXPECT_TRUE(spooler.filed.empty());  // no retry, no file fallback
  EXPECT_TRUE(channel.Write("ab", 2));
}

TEST_F(ChannelFixture, WriteFailureOtherThanInvalidHandleDoesNotFallBack) {
  spooler.failures["WritePrinter"] = 5;
  channel.OpenPrinterOutput(L"p");
  EXPECT_FALSE(channel.Write("abc", 3));
  EXPECT_EQ(0, std::count(spooler.log.begin(), spooler.log.end(), "WriteFile"));
}

TEST_F(ChannelFixture, StartFailuresAreShownWithTheirCallAndEndTheStep) {
  channel.OpenPrinterOutput(L"p");
  spooler.failures["StartDocPrinter"] = 5;
  EXPECT_FALSE(channel.StartDocument(0));
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"text of 5", messages.shown[0].text);
  EXPECT_EQ(L"WrapStartDocPagePrinter: StartDocPrinter", messages.shown[0].caption);
  EXPECT_EQ(0, std::count(spooler.log.begin(), spooler.log.end(), "StartPagePrinter"));

  spooler.failures.clear();
  spooler.failures["StartPagePrinter"] = 1804;
  EXPECT_FALSE(channel.StartDocument(1));
  EXPECT_EQ(L"WrapStartDocPagePrinter: StartPagePrinter", messages.shown.back().caption);

  spooler.failures["StartPagePrinter"] = 0;  // a failure without a code: false, but nothing to show
  EXPECT_FALSE(channel.StartDocument(2));
  EXPECT_EQ(2u, messages.shown.size());
}

TEST_F(ChannelFixture, EndFailureOtherThanInvalidHandleEndsThePrint) {
  channel.OpenPrinterOutput(L"p");
  spooler.failures["EndPagePrinter"] = kErrorInvalidHandle;
  EXPECT_TRUE(channel.EndDocument());
  spooler.failures["EndDocPrinter"] = 63;
  EXPECT_FALSE(channel.EndDocument());
  spooler.failures.clear();
  spooler.failures["EndPagePrinter"] = 63;
  EXPECT_FALSE(channel.EndDocument());
  EXPECT_EQ("EndDocPrinter", spooler.log.back());  // the document is still ended
}

TEST_F(ChannelFixture, OpenFailuresShowTheirMessages) {
  spooler.failures["OpenPrinter"] = 1801;
  EXPECT_FALSE(channel.OpenPrinterOutput(L"Nope"));
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"OpenPrinter( Nope ) failed: 1801", messages.shown[0].text);
  EXPECT_EQ(L"OpenChannel", messages.shown[0].caption);

  spooler.failures.clear();
  spooler.nullHandleOnOpen = true;
  EXPECT_FALSE(channel.OpenPrinterOutput(L"p"));
  EXPECT_EQ(L"invalid handle!", messages.shown.back().text);

  spooler.failures["CreateFile"] = 5;
  channel.OpenFileOutput(L"Z:\\nowhere\\x.zpl");
  EXPECT_EQ(L"invalid handle!", messages.shown.back().text);
  EXPECT_EQ(L"OpenChannel", messages.shown.back().caption);
  EXPECT_FALSE(channel.Write("a", 1));  // the print still runs, but every write fails
}

TEST(SendRawBlock, WritesWaitsThenEndsTheDocument) {
  CFakeSpooler spooler;
  CRecordingMessageSink messages;
  EXPECT_TRUE(SendRawBlock(spooler, messages, L"p", "FW", 2));
  EXPECT_EQ((std::vector<std::string>{"OpenPrinter", "StartDocPrinter", "WritePrinter", "Sleep", "EndDocPrinter",
                                      "ClosePrinter"}),
            spooler.log);
  EXPECT_EQ(1500u, spooler.slept);
  EXPECT_EQ(L"Stream_Write_1000", spooler.documentNames[0]);
  EXPECT_EQ("FW", spooler.printed);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(SendRawBlock, FailuresAreShownAndReported) {
  CFakeSpooler spooler;
  CRecordingMessageSink messages;
  spooler.failures["StartDocPrinter"] = 5;
  EXPECT_FALSE(SendRawBlock(spooler, messages, L"p", "FW", 2));
  EXPECT_EQ(L"StartDocPrinter failed", messages.shown.back().text);
  EXPECT_EQ(L"WrapStartDocPrinter", messages.shown.back().caption);
  EXPECT_EQ("ClosePrinter", spooler.log.back());

  spooler.failures.clear();
  spooler.failures["EndDocPrinter"] = 5;
  EXPECT_FALSE(SendRawBlock(spooler, messages, L"p", "FW", 2));

  spooler.failures.clear();
  spooler.failures["OpenPrinter"] = 1801;
  EXPECT_FALSE(SendRawBlock(spooler, messages, L"Q", "FW", 2));
  EXPECT_EQ(L"OpenPrinter( Q ) failed: 1801", messages.shown.back().text);
  EXPECT_EQ(L"WrapStartDocPrinter", messages.shown.back().caption);
}

TEST(FileSpoolerCalls, NativeFileOutputTakesTheWindowsFilePath) {
  const std::string path = ::testing::TempDir() + "channel_native.zpl";
  CFileSpoolerCalls calls;
  CRecordingMessageSink messages;
  {
    CPrintChannel channel(calls, messages, L"1_t");
    EXPECT_FALSE(channel.OpenPrinterOutput(L"VYX-Q5"));  // no spooler here
    messages.shown.clear();
    channel.OpenFileOutput(std::wstring(path.begin(), path.end()));
    ASSERT_TRUE(channel.StartDocument(0));
    EXPECT_TRUE(channel.Write("^XA\r\n", 5));
    EXPECT_TRUE(channel.Write("^XZ\r\n", 5));
    EXPECT_TRUE(channel.EndDocument());
  }  // the destructor closes the file
  EXPECT_TRUE(messages.shown.empty());
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ("^XA\r\n^XZ\r\n", content.str());
  std::remove(path.c_str());
}

}  // namespace
}  // namespace vyx
