// Restarting the spooler: the user is asked once, a refusal sticks, and the service's answers decide the result.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/string_ids.h"
#include "setup/spooler_restart.h"

namespace vyx {
namespace {

class CScriptedService : public CSpoolerService {
 public:
  unsigned long Stop() override {
    calls.push_back(L"stop");
    return stop_error;
  }
  unsigned long Start() override {
    calls.push_back(L"start");
    return start_error;
  }
  void Wait(unsigned milliseconds) override { calls.push_back(L"wait " + std::to_wstring(milliseconds)); }
  unsigned long stop_error = 0;
  unsigned long start_error = 0;
  std::vector<std::wstring> calls;
};

class CNamedStrings : public CStringLoader {
 public:
  int Load(int id, int capacity, std::wstring& text, unsigned long& error) override {
    text = std::to_wstring(id).substr(0, static_cast<std::size_t>(capacity - 1));
    error = 0;
    return static_cast<int>(text.size());
  }
};

std::wstring ErrorText(unsigned long error) {
  return L"system text " + std::to_wstring(error);
}

class SpoolerRestart : public ::testing::Test {
 protected:
  SpoolerRestart() { state.language = CLanguageText(&strings, 1000); }
  int Restart() { return RestartSpoolerWithConsent({state, messages, debug, &ErrorText}, service); }

  CNamedStrings strings;
  CWizardState state;
  CRecordingMessageSink messages;
  CCollectingDebugOutput debug;
  CScriptedService service;
};

const std::vector<std::wstring> kFullRestart = {L"stop", L"wait 3000", L"start", L"wait 3000", L"wait 1500"};

TEST_F(SpoolerRestart, AgreedOnceRestartsWithoutAskingAgain) {
  EXPECT_EQ(0, Restart());
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"2169", messages.shown[0].text);
  EXPECT_EQ(L"2250", messages.shown[0].caption);
  EXPECT_EQ(static_cast<unsigned>(kMbOkCancel), messages.shown[0].style);
  EXPECT_EQ(kConsentAgreed, state.restart_consent);
  EXPECT_EQ(kFullRestart, service.calls);

  EXPECT_EQ(0, Restart());
  EXPECT_EQ(1u, messages.shown.size());
  EXPECT_EQ(10u, service.calls.size());
}

TEST_F(SpoolerRestart, RefusalIsAskedOnceAndEveryLaterRequestFailsAtOnce) {
  messages.answers = {kIdCancel};
  EXPECT_EQ(-1, Restart());
  EXPECT_EQ(kConsentRefused, state.restart_consent);
  EXPECT_TRUE(debug.lines.empty());
  EXPECT_EQ(-1, Restart());
  EXPECT_EQ(1u, messages.shown.size());
  EXPECT_TRUE(service.calls.empty());
  EXPECT_EQ(std::vector<std::wstring>{L"WrapRestartSpooler: prevented asking user more than once"}, debug.lines);
}

TEST_F(SpoolerRestart, ServiceAnswersDecideTheResult) {
  struct CCase {
    const char* what;
    unsigned long stop_error;
    unsigned long start_error;
    int result;
    std::vector<std::wstring> calls;
    const wchar_t* caption;  // of the failure message, or null
  };
  const CCase cases[] = {
      {"stopped and started", 0, 0, 0, kFullRestart, nullptr},
      {"not running: started", kErrorServiceNotActive, 0, 0, kFullRestart, nullptr},
      {"stop refused", 5, 0, 5, {L"stop"}, L"WrapRestartSpooler: StopSpooler"},
      {"start refused", 0, 1056, 1056, {L"stop", L"wait 3000", L"start"}, L"WrapRestartSpooler: StartSpooler"},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.what);
    state.restart_consent = kConsentAgreed;
    messages.shown.clear();
    service.calls.clear();
    service.stop_error = c.stop_error;
    service.start_error = c.start_error;
    EXPECT_EQ(c.result, Restart());
    EXPECT_EQ(c.calls, service.calls);
    if (c.caption == nullptr) {
      EXPECT_TRUE(messages.shown.empty());
    } else {
      ASSERT_EQ(1u, messages.shown.size());
      EXPECT_EQ(c.caption, messages.shown[0].caption);
      EXPECT_EQ(ErrorText(static_cast<unsigned long>(c.result)), messages.shown[0].text);
    }
  }
}

}  // namespace
}  // namespace vyx
