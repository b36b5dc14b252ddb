// The spooler restart through the service control manager: with the platform's own answers from fake calls, and
// once for real against Wine's "Spooler" service.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/seams/message_sink_win32.h"
#include "setup/spooler_restart_win32.h"

namespace vyx {
namespace {

// What the fake calls were asked, and the errors they answer with (0: succeed).
struct CServiceScript {
  DWORD open_manager_error = 0;
  DWORD open_service_error = 0;
  DWORD control_error = 0;
  DWORD start_error = 0;
  std::vector<std::wstring> calls;
};
CServiceScript g_script;

SC_HANDLE Answer(DWORD error, const std::wstring& call) {
  g_script.calls.push_back(call);
  SetLastError(error);
  return error == 0 ? reinterpret_cast<SC_HANDLE>(static_cast<INT_PTR>(0x5C)) : nullptr;
}

SC_HANDLE WINAPI FakeOpenManager(LPCWSTR machine, LPCWSTR database, DWORD access) {
  return Answer(g_script.open_manager_error, std::wstring(L"manager ") + (machine ? machine : L"local") + L" " +
                                                 database + L" " + std::to_wstring(access));
}
SC_HANDLE WINAPI FakeOpenService(SC_HANDLE, LPCWSTR name, DWORD access) {
  return Answer(g_script.open_service_error, std::wstring(L"service ") + name + L" " + std::to_wstring(access));
}
BOOL WINAPI FakeControl(SC_HANDLE, DWORD control, LPSERVICE_STATUS) {
  return Answer(g_script.control_error, L"control " + std::to_wstring(control)) != nullptr;
}
BOOL WINAPI FakeStart(SC_HANDLE, DWORD count, LPCWSTR*) {
  return Answer(g_script.start_error, L"start " + std::to_wstring(count)) != nullptr;
}
BOOL WINAPI FakeClose(SC_HANDLE) {
  g_script.calls.push_back(L"close");
  SetLastError(1234);  // closing must not hide the error of the call before
  return TRUE;
}
void WINAPI FakeSleep(DWORD milliseconds) {
  g_script.calls.push_back(L"sleep " + std::to_wstring(milliseconds));
}

class SpoolerService : public ::testing::Test {
 protected:
  void SetUp() override {
    g_script = CServiceScript();
    m_before = SetProgramMessageSink(&m_sink);
    ServiceCalls() = {&FakeOpenManager, &FakeOpenService, &FakeControl, &FakeStart, &FakeClose, &FakeSleep};
  }
  void TearDown() override {
    ServiceCalls() = RealServiceCalls();
    SetProgramMessageSink(m_before);
  }
  CRecordingMessageSink m_sink;
  CMessageSink* m_before = nullptr;
  CWizardState m_state;
};

const std::wstring kOpenManager =
    L"manager local ServicesActive " +
    std::to_wstring(SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE | SC_MANAGER_QUERY_LOCK_STATUS);
const std::wstring kOpenSpooler =
    L"service Spooler " + std::to_wstring(SERVICE_STOP | SERVICE_START | SERVICE_PAUSE_CONTINUE);

TEST_F(SpoolerService, AgreedRestartStopsWaitsStartsAndWaits) {
  EXPECT_EQ(0, WrapRestartSpooler(m_state));
  const std::vector<std::wstring> expected = {kOpenManager,  kOpenSpooler,  L"control 1", L"close",   L"close",
                                              L"sleep 3000", kOpenManager,  kOpenSpooler, L"start 0", L"close",
                                              L"close",      L"sleep 3000", L"sleep 1500"};
  EXPECT_EQ(expected, g_script.calls);
  ASSERT_EQ(1u, m_sink.shown.size());  // the question
  EXPECT_EQ(static_cast<unsigned>(MB_OKCANCEL), m_sink.shown[0].style);
}

TEST_F(SpoolerService, FailuresShowTheSystemTextOfTheFailingCall) {
  struct CCase {
    const char* what;
    CServiceScript script;
    int result;
    const wchar_t* caption;
    std::size_t calls;
  };
  CServiceScript no_manager, refused_stop, running, no_service;
  no_manager.open_manager_error = ERROR_ACCESS_DENIED;
  refused_stop.control_error = ERROR_ACCESS_DENIED;
  running.start_error = ERROR_SERVICE_ALREADY_RUNNING;
  no_service.open_service_error = ERROR_SERVICE_DOES_NOT_EXIST;
  const CCase cases[] = {
      {"manager refused: at once, no wait", no_manager, 5, L"WrapRestartSpooler: StopSpooler", 1},
      {"stop refused", refused_stop, 5, L"WrapRestartSpooler: StopSpooler", 5},
      {"start refused", running, 1056, L"WrapRestartSpooler: StartSpooler", 11},
      {"no spooler service", no_service, 1060, L"WrapRestartSpooler: StopSpooler", 3},
  };
  m_state.restart_consent = kConsentAgreed;
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.what);
    g_script = c.script;
    m_sink.shown.clear();
    EXPECT_EQ(c.result, WrapRestartSpooler(m_state));
    EXPECT_EQ(c.calls, g_script.calls.size());
    ASSERT_EQ(1u, m_sink.shown.size());
    EXPECT_EQ(c.caption, m_sink.shown[0].caption);
    EXPECT_FALSE(m_sink.shown[0].text.empty());
  }
}

TEST_F(SpoolerService, RefusedOnceNeverAsksAgain) {
  m_sink.answers = {IDCANCEL};
  EXPECT_EQ(-1, WrapRestartSpooler(m_state));
  EXPECT_EQ(-1, WrapRestartSpooler(m_state));
  EXPECT_EQ(1u, m_sink.shown.size());
  EXPECT_TRUE(g_script.calls.empty());
}

TEST_F(SpoolerService, WineSpoolerIsStartedAndRestartedForReal) {
  // Real service calls, with the waits cut short: Wine stops and starts its spooler service at once.
  ServiceCalls() = RealServiceCalls();
  ServiceCalls().sleep = &FakeSleep;
  m_state.restart_consent = kConsentAgreed;
  EXPECT_EQ(0, WrapRestartSpooler(m_state));  // stopped at first (not running counts as stopped), or running
  EXPECT_EQ(0, WrapRestartSpooler(m_state));  // now surely running: stopped and started again
  EXPECT_TRUE(m_sink.shown.empty());
}

}  // namespace
}  // namespace vyx
