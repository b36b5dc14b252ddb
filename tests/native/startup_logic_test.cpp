// Start-up logic without Windows: the job location, the command line with its fallbacks, and the wait for the job
// data on a fake clock.
#include <gtest/gtest.h>

#include <deque>

#include "manager/app/command_line.h"
#include "manager/app/job_location.h"
#include "manager/app/job_wait.h"

namespace vyx {
namespace {

TEST(JobLocation, PipeNamesGiveMachineTagAndId) {
  CJobLocation a = AnalyseJobLocation(L"\\\\server\\pipe\\VYXQ5_42_abc");
  EXPECT_EQ(L"server", a.machineName);
  EXPECT_EQ(L"42_abc", a.jobTag);
  EXPECT_EQ(42, a.jobId);
  EXPECT_EQ(L"\\\\server\\pipe\\VYXQ5_42_abc", a.location);

  CJobLocation b = AnalyseJobLocation(L"\\\\server\\pipe\\VYXQ5_abc");
  EXPECT_EQ(L"abc", b.jobTag);
  EXPECT_EQ(0, b.jobId);

  EXPECT_EQ(0, AnalyseJobLocation(L"\\\\.\\pipe\\VYXQ5__7").jobId);  // "_" first: no id
  EXPECT_EQ(L".", AnalyseJobLocation(L"\\\\.\\pipe\\VYXQ5_9_x").machineName);
}

TEST(JobLocation, MachineBeforeADoubleBackslashWinsAndCutsTheLocation) {
  CJobLocation a = AnalyseJobLocation(L"\\\\spool01\\\\.\\pipe\\VYXQ5_7_t");
  EXPECT_EQ(L"spool01", a.machineName);
  EXPECT_EQ(L"\\\\.\\pipe\\VYXQ5_7_t", a.location);
  EXPECT_EQ(7, a.jobId);
}

TEST(JobLocation, FilesAndOddTextHaveNoTag) {
  for (const wchar_t* text : {L"", L"x", L"C:\\jobs\\a.zpl", L"\\\\", L"\\\\\\\\", L"ab\\pipe\\"}) {
    CJobLocation l = AnalyseJobLocation(text);
    EXPECT_TRUE(l.jobTag.empty()) << static_cast<const void*>(text);
    EXPECT_EQ(0, l.jobId);
  }
  EXPECT_EQ(L"", AnalyseJobLocation(L"ab\\pipe\\").machineName);
}

struct CommandLineFixture : ::testing::Test {
  CRecordingMessageSink messages;
  CCollectingDebugOutput debug;
  CCommandLineArgs out;
};

TEST_F(CommandLineFixture, ThreeArgumentsAreLocationPrinterOptions) {
  EXPECT_TRUE(
      ReadCmdLineArgs({L"m.exe", L"\\\\.\\pipe\\VYXQ5_1_a", L"VYX-Q5", L"PrSlWsPn1;0;0;0;1;OrUmEcUeUcNcLmUoUhTc"},
                      L"cmd", out, messages, debug));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(L"VYX-Q5", out.printerName);
  EXPECT_EQ(0, out.options.show_main_window);
  EXPECT_EQ(1, out.options.laminate);
  ASSERT_GE(debug.lines.size(), 4u);
  EXPECT_EQ(L"m.exe\n", debug.lines[0]);
  EXPECT_EQ(L"VYX-Q5\n", debug.lines[2]);
}

TEST_F(CommandLineFixture, WrongCountIsShownWithTheWholeCommandLine) {
  EXPECT_FALSE(ReadCmdLineArgs({L"m.exe", L"a"}, L"m.exe a", out, messages, debug));
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"ReadCmdLineArgs: wrong number of command line arguments !", messages.shown[0].caption);
  EXPECT_EQ(L"m.exe a", messages.shown[0].text);
  EXPECT_TRUE(out.jobLocation.empty());
}

TEST_F(CommandLineFixture, OldDriverShiftsTheArgumentsAndTakesTheDefaults) {
  EXPECT_TRUE(ReadCmdLineArgs({L"m.exe", L"-x", L"loc", L"prn"}, L"", out, messages, debug));
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"Pre-17i-version of vyxui.dll! Please uninstall and reinstall, then restart spooler service!",
            messages.shown[0].caption);
  EXPECT_EQ(L"", messages.shown[0].text);
  EXPECT_EQ(L"loc", out.jobLocation);
  EXPECT_EQ(L"prn", out.printerName);
  EXPECT_EQ(kDefaultOptionsString, out.optionsString);
  EXPECT_EQ(1, out.options.show_main_window);
}

TEST_F(CommandLineFixture, BadOptionsAreShownAndReplacedByTheDefaults) {
  EXPECT_TRUE(ReadCmdLineArgs({L"m.exe", L"loc", L"prn", L"lnMg"}, L"", out, messages, debug));
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"Wrong parameter syntax! Please uninstall and reinstall!", messages.shown[0].caption);
  EXPECT_EQ(L"lnMg", messages.shown[0].text);
  EXPECT_EQ(kDefaultOptionsString, out.optionsString);
  COptions defaults;
  ASSERT_TRUE(ParseOptions(kDefaultOptionsString, defaults, debug));
  EXPECT_EQ(defaults, out.options);
}

// A clock that moves only when the wait sleeps, and a script of open results.
class CFakeWait : public CJobWaitCalls {
 public:
  std::uint32_t now = 1000;
  std::uint32_t opensUntilSuccess = 0xFFFFFFFF;  // the open that succeeds (0-based), never by default
  std::uint32_t openError = kErrFileNotFound;
  bool printer = true;
  std::function<bool(CJobQueueState&, std::uint32_t& error)> query;  // default: the job is printing
  bool pipeWaitSucceeds = true;
  std::uint32_t opens = 0, pipeWaits = 0, lastPipeTimeout = 0;

  std::uint32_t TickCount() override { return now; }
  void Sleep(std::uint32_t ms) override { now += ms; }
  bool OpenJobData(const std::wstring&) override {
    if (opens++ == opensUntilSuccess) return true;
    error = openError;
    return false;
  }
  std::uint32_t LastError() override { return error; }
  bool HasPrinter() override { return printer; }
  bool QueryJob(std::int32_t, CJobQueueState& state) override {
    if (!query) {
      state.position = 1;
      return true;
    }
    std::uint32_t e = 0;
    const bool ok = query(state, e);
    if (!ok) error = e;
    return ok;
  }
  bool WaitForPipe(const std::wstring&, std::uint32_t timeout) override {
    ++pipeWaits;
    lastPipeTimeout = timeout;
    return pipeWaitSucceeds;
  }

 private:
  std::uint32_t error = 0;
};

struct WaitFixture : ::testing::Test {
  CFakeWait calls;
  CRecordingMessageSink messages;
  CJobWaitTexts texts{L"The print job is not there yet.", L"VYX-Q5", [](const std::wstring& m) {
                        return std::optional<std::wstring>(L"Logon to " + m + L" failed.");
                      }};
  CJobWaitResult Wait() { return WaitForJobData(calls, messages, texts, L"\\\\.\\pipe\\VYXQ5_5_t", L"srv", 5); }
};

TEST_F(WaitFixture, PipeThatAppearsLaterIsOpenedWithoutAMessage) {
  texts.notFoundText.reset();    // 4 s without prompts: nothing may be shown either way
  calls.opensUntilSuccess = 80;  // 80 polls of 50 ms = 4 s
  EXPECT_EQ(EJobWait::kConnected, Wait().outcome);
  EXPECT_EQ(81u, calls.opens);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WaitFixture, GivesUpAfterFiveMinutesPromptingEveryTenSeconds) {
  messages.answers.assign(100, kIdRetry);
  const std::uint32_t begin = calls.now;
  CJobWaitResult r = Wait();
  EXPECT_EQ(EJobWait::kNotConnected, r.outcome);
  EXPECT_FALSE(r.jobDeleted);
  EXPECT_EQ(kJobWaitLimitMs, calls.now - begin);
  // A prompt after each full 10 s beyond the last one: 300 s give 29 prompts.
  EXPECT_EQ(29u, messages.shown.size());
  EXPECT_EQ(L"VYX-Q5", messages.shown[0].caption);
  EXPECT_EQ(kMbRetryCancel | kMbIconWarning, messages.shown[0].style);
}

TEST_F(WaitFixture, CancelAtThePromptEndsTheWait) {
  messages.answers = {kIdCancel};
  EXPECT_EQ(EJobWait::kCancelled, Wait().outcome);
  EXPECT_EQ(1u, messages.shown.size());
}

TEST_F(WaitFixture, QueuedJobNeverTimesOutUntilItIsFirst) {
  std::uint32_t queries = 0;
  calls.query = [&](CJobQueueState& s, std::uint32_t&) {
    s.position = ++queries < 20000 ? 2 : 1;  // 1000 s behind another job, then first in the queue
    return true;
  };
  messages.answers.assign(100, kIdRetry);
  const std::uint32_t begin = calls.now;
  EXPECT_EQ(EJobWait::kNotConnected, Wait().outcome);
  EXPECT_GT(calls.now - begin, 1000000u);
  EXPECT_EQ(29u, messages.shown.size());  // prompts only once it is first
}

TEST_F(WaitFixture, JobWithAStatusIsNotTakenAsQueued) {
  calls.query = [](CJobQueueState& s, std::uint32_t&) {
    s.position = 3;
    s.hasStatusText = true;
    s.statusText = L"Paused";
    return true;
  };
  messages.answers.assign(100, kIdRetry);
  const std::uint32_t begin = calls.now;
  Wait();
  EXPECT_EQ(kJobWaitLimitMs, calls.now - begin);
}

TEST_F(WaitFixture, DeletedJobEndsTheWaitSilently) {
  calls.query = [](CJobQueueState&, std::uint32_t& e) {
    e = kErrInvalidParameter;
    return false;
  };
  CJobWaitResult r = Wait();
  EXPECT_EQ(EJobWait::kNotConnected, r.outcome);
  EXPECT_TRUE(r.jobDeleted);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WaitFixture, FileLocationWaitsOnThroughFailingJobQueries) {
  calls.query = [](CJobQueueState&, std::uint32_t& e) {
    e = kErrInvalidParameter;
    return false;
  };
  calls.opensUntilSuccess = 40;
  CJobWaitResult r = WaitForJobData(calls, messages, texts, L"C:\\jobs\\label.zpl", L"", 0);
  EXPECT_EQ(EJobWait::kConnected, r.outcome);
  EXPECT_FALSE(r.jobDeleted);
  EXPECT_EQ(41u, calls.opens);
}

TEST_F(WaitFixture, LogonFailureIsShownAndTheWaitGoesOn) {
  calls.openError = kErrLogonFailure;
  calls.opensUntilSuccess = 2;
  EXPECT_EQ(EJobWait::kConnected, Wait().outcome);
  ASSERT_EQ(2u, messages.shown.size());
  EXPECT_EQ(L"Logon to srv failed.", messages.shown[0].text);
  EXPECT_EQ(L"CreateFile", messages.shown[0].caption);
}

TEST_F(WaitFixture, BusyPipeWaitsForTheTimeLeft) {
  calls.openError = kErrPipeBusy;
  calls.opensUntilSuccess = 3;
  EXPECT_EQ(EJobWait::kConnected, Wait().outcome);
  EXPECT_EQ(3u, calls.pipeWaits);
  EXPECT_EQ(kJobWaitLimitMs - 2 * kJobWaitPollMs, calls.lastPipeTimeout);

  calls.opens = 0;
  calls.pipeWaitSucceeds = false;
  EXPECT_EQ(EJobWait::kNotConnected, Wait().outcome);
  EXPECT_EQ(1u, calls.opens);
}

TEST_F(WaitFixture, OtherErrorsEndAtOnceAndUnreachablePathsWait) {
  calls.openError = 5;
  EXPECT_EQ(EJobWait::kNotConnected, Wait().outcome);
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"not ERROR_PIPE_BUSY !", messages.shown[0].text);

  messages.shown.clear();
  calls.opens = 0;
  calls.openError = kErrBadNetPath;
  EXPECT_EQ(EJobWait::kNotConnected, Wait().outcome);
  EXPECT_EQ(kJobWaitLimitMs / kJobWaitPollMs, calls.opens);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WaitFixture, TickCounterWrapDoesNotEndTheWaitEarly) {
  calls.now = 0xFFFFFFFFu - 1000;  // wraps after one second
  calls.openError = kErrBadPathName;
  Wait();
  // The start moves to 0 at the wrap, so the full limit is counted from there, not cut short by the wrap.
  EXPECT_GE(calls.now, kJobWaitLimitMs);
  EXPECT_LT(calls.now, kJobWaitLimitMs + kJobWaitPollMs);
}

}  // namespace
}  // namespace vyx
