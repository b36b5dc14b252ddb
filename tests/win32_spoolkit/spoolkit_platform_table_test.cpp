// The session helper's branches that depend on answers Wine only stubs or a test cannot cause: job queries, the
// session message, the shell's session and the system version come from a platform table with scripted answers.
#include <windows.h>
#include <winspool.h>
#include <wtsapi32.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "spoolkit/platform_calls_win32.h"
#include "spoolkit/print_jobs_win32.h"
#include "spoolkit/processes_win32.h"
#include "spoolkit/tokens_win32.h"

namespace vyx::spoolkit {
namespace {

const HANDLE kPrinter = reinterpret_cast<HANDLE>(0x1234);

// What the scripted platform answers, and what it was asked.
struct SScript {
  struct SAnswer {
    BOOL ok;
    DWORD error;
    DWORD needed;
  };
  std::vector<SAnswer> answers;
  std::function<void(BYTE* buffer, DWORD size)> fill;  // the fetch call's content
  std::vector<DWORD> offered;                          // buffer size of each call
  bool zeroFilled = true;
  DWORD activeSession = 1;
  DWORD shellSession = 1;
  std::vector<HANDLE> shellTokens;
  bool versionKnown = true;
  DWORD major = 10;
  DWORD minor = 0;
  int duplicateLevel = -1;
  DWORD duplicateError = 0;
  struct SMessage {
    DWORD session = 0, titleBytes = 0, messageBytes = 0, style = 0, timeout = 99;
    std::wstring title, message;
    BOOL wait = FALSE;
  } message;
};
SScript g_script;

BOOL Answer(BYTE* buffer, DWORD size, DWORD* needed) {
  const SScript::SAnswer answer = g_script.answers.at(g_script.offered.size());
  g_script.offered.push_back(size);
  if (buffer != nullptr) {
    for (DWORD i = 0; i < size; ++i) g_script.zeroFilled = g_script.zeroFilled && buffer[i] == 0;
    if (answer.ok && g_script.fill) g_script.fill(buffer, size);
  }
  *needed = answer.needed;
  SetLastError(answer.error);
  return answer.ok;
}

SPlatformCalls ScriptedCalls() {
  SPlatformCalls calls = RealPlatformCalls();
  calls.enumJobs = [](HANDLE, DWORD, DWORD, DWORD, BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) -> BOOL {
    *returned = buffer != nullptr ? 2 : 0;
    return Answer(buffer, size, needed);
  };
  calls.getJob = [](HANDLE, DWORD, DWORD, BYTE* buffer, DWORD size, DWORD* needed) -> BOOL {
    return Answer(buffer, size, needed);
  };
  calls.sendSessionMessage = [](HANDLE, DWORD session, LPWSTR title, DWORD titleBytes, LPWSTR message,
                                DWORD messageBytes, DWORD style, DWORD timeout, DWORD* response, BOOL wait) -> BOOL {
    g_script.message = {session, titleBytes, messageBytes, style, timeout, title, message, wait};
    *response = IDYES;
    return TRUE;
  };
  calls.activeConsoleSession = [] { return g_script.activeSession; };
  calls.tokenSession = [](HANDLE token, DWORD* session) {
    g_script.shellTokens.push_back(token);
    *session = g_script.shellSession;
    return true;
  };
  calls.systemVersion = [](DWORD* major, DWORD* minor) {
    *major = g_script.major;
    *minor = g_script.minor;
    return g_script.versionKnown;
  };
  calls.duplicateToken = [](HANDLE token, DWORD access, SECURITY_ATTRIBUTES* attributes,
                            SECURITY_IMPERSONATION_LEVEL level, TOKEN_TYPE type, HANDLE* duplicate) -> BOOL {
    g_script.duplicateLevel = level;
    if (g_script.duplicateError != 0) {
      SetLastError(g_script.duplicateError);
      return FALSE;
    }
    return DuplicateTokenEx(token, access, attributes, level, type, duplicate);
  };
  return calls;
}

class SpoolkitPlatformTable : public ::testing::Test {
 protected:
  void SetUp() override { g_script = SScript{}; }
};

TEST_F(SpoolkitPlatformTable, EnumJobsTwoCallCases) {
  struct SCase {
    const char* name;
    std::vector<SScript::SAnswer> answers;
    BOOL result;
    DWORD error;  // checked when the result is FALSE
    bool buffer;
  };
  const std::vector<SCase> cases = {
      {"nothing to return", {{TRUE, 0, 0}}, TRUE, 0, false},
      {"size query refused", {{FALSE, ERROR_ACCESS_DENIED, 0}}, FALSE, ERROR_ACCESS_DENIED, false},
      {"failure without a code", {{FALSE, 0, 0}}, FALSE, 0, false},
      {"fetched", {{FALSE, ERROR_INSUFFICIENT_BUFFER, 48}, {TRUE, 0, 48}}, TRUE, 0, true},
      {"fetch fails",
       {{FALSE, ERROR_INSUFFICIENT_BUFFER, 48}, {FALSE, ERROR_INVALID_PRINTER_NAME, 0}},
       FALSE,
       ERROR_INVALID_PRINTER_NAME,
       false},
  };
  const SPlatformCalls calls = ScriptedCalls();
  for (const SCase& c : cases) {
    SCOPED_TRACE(c.name);
    g_script = SScript{};
    g_script.answers = c.answers;
    g_script.fill = [](BYTE* buffer, DWORD size) { std::memset(buffer, 0x5A, size); };
    SetLastError(ERROR_INSUFFICIENT_BUFFER);  // a stale code must not be taken for the size query's answer
    BYTE* jobs = reinterpret_cast<BYTE*>(1);
    DWORD needed = 0;
    DWORD returned = 0;
    const BOOL result = WrapEnumJobsWith(calls, kPrinter, 0, 10, 1, &jobs, &needed, &returned);
    const DWORD error = GetLastError();
    EXPECT_EQ(c.result, result);
    if (!result) {
      EXPECT_EQ(c.error, error);
    }
    EXPECT_EQ(c.answers.size(), g_script.offered.size());
    EXPECT_EQ(0u, g_script.offered[0]);
    ASSERT_EQ(c.buffer, jobs != nullptr);
    if (jobs != nullptr) {
      EXPECT_EQ(48u, g_script.offered[1]);
      EXPECT_TRUE(g_script.zeroFilled);
      EXPECT_GE(LocalSize(jobs), 48u);
      EXPECT_EQ(0x5A, jobs[47]);
      EXPECT_EQ(2u, returned);
      EXPECT_EQ(48u, needed);
      LocalFree(jobs);
    }
  }
}

TEST_F(SpoolkitPlatformTable, JobSizeQueryThatSucceedsIsReportedAsSuch) {
  const SPlatformCalls calls = ScriptedCalls();
  g_script.answers = {{TRUE, 0, 0}, {TRUE, 0, 0}, {TRUE, 0, 0}};
  BYTE* job = reinterpret_cast<BYTE*>(1);
  EXPECT_TRUE(WrapGetJobWith(calls, kPrinter, 7, 2, &job, nullptr));
  EXPECT_EQ(0x2000000Bu, GetLastError());
  EXPECT_EQ(nullptr, job);
  DWORD needed = 99;
  EXPECT_FALSE(GetJobDevModeWith(calls, kPrinter, 7, nullptr, 0, &needed, nullptr));
  EXPECT_EQ(0x2000000Bu, GetLastError());
  EXPECT_EQ(0, IsJobDeletedWith(calls, kPrinter, 7, nullptr));
}

// A job record of the given level built in the buffer the helper offers, its texts and settings behind it.
void ScriptJob(std::function<void(BYTE* buffer, DWORD size)> fill) {
  g_script.answers = {{FALSE, ERROR_INSUFFICIENT_BUFFER, 1024}, {TRUE, 0, 1024}};
  g_script.fill = std::move(fill);
}

TEST_F(SpoolkitPlatformTable, JobMachineStateAndSettingsFromTheRecord) {
  const SPlatformCalls calls = ScriptedCalls();
  wchar_t computer[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  ASSERT_TRUE(GetComputerNameW(computer, &size));
  static std::wstring s_machine;
  static DWORD s_status;
  struct SMachineCase {
    std::wstring machine;
    BOOL remote;
  };
  for (const SMachineCase& c : std::vector<SMachineCase>{{L"\\\\" + std::wstring(computer), 0},
                                                         {L"\\\\OTHERHOST", 1},
                                                         {L"\\\\" + std::wstring(computer) + L"2", 1}}) {
    s_machine = c.machine;
    g_script = SScript{};
    ScriptJob([](BYTE* buffer, DWORD) {
      auto* info = reinterpret_cast<JOB_INFO_1W*>(buffer);
      auto* text = reinterpret_cast<wchar_t*>(buffer + sizeof(JOB_INFO_1W));
      s_machine.copy(text, s_machine.size());
      info->pMachineName = text;
    });
    EXPECT_EQ(c.remote, IsRemotePrintingComputerWith(calls, kPrinter, 3))
        << std::string(c.machine.begin(), c.machine.end());
  }
  EXPECT_EQ(0, IsRemotePrintingComputerWith(calls, nullptr, 3));

  for (DWORD status : {DWORD{JOB_STATUS_DELETING | JOB_STATUS_PRINTING}, DWORD{JOB_STATUS_PRINTING}}) {
    s_status = status;
    g_script = SScript{};
    ScriptJob([](BYTE* buffer, DWORD) { reinterpret_cast<JOB_INFO_1W*>(buffer)->Status = s_status; });
    EXPECT_EQ((status & JOB_STATUS_DELETING) != 0 ? 1 : 0, IsJobDeletedWith(calls, kPrinter, 3, nullptr));
  }

  // Settings whose sizes reach beyond the job record are refused, not copied.
  g_script = SScript{};
  ScriptJob([](BYTE* buffer, DWORD) {
    auto* settings = reinterpret_cast<DEVMODEW*>(buffer + sizeof(JOB_INFO_2W));
    settings->dmSize = sizeof(DEVMODEW);
    settings->dmDriverExtra = 1024;
    reinterpret_cast<JOB_INFO_2W*>(buffer)->pDevMode = settings;
  });
  BYTE copy[4096];
  DWORD needed = 0;
  EXPECT_FALSE(GetJobDevModeWith(calls, kPrinter, 3, reinterpret_cast<DEVMODEW*>(copy), sizeof copy, &needed, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
}

TEST_F(SpoolkitPlatformTable, SessionMessagePassesByteLengthsToTheActiveSession) {
  const SPlatformCalls calls = ScriptedCalls();
  g_script.activeSession = 3;
  DWORD response = 0;
  EXPECT_TRUE(ShowMsgBoxInActiveSessionWith(calls, L"VYX-Q5", L"Ribbon empty", MB_YESNO | MB_ICONWARNING, &response));
  EXPECT_EQ(static_cast<DWORD>(IDYES), response);
  EXPECT_EQ(3u, g_script.message.session);
  EXPECT_EQ(12u, g_script.message.titleBytes);
  EXPECT_EQ(24u, g_script.message.messageBytes);
  EXPECT_EQ(L"VYX-Q5", g_script.message.title);
  EXPECT_EQ(L"Ribbon empty", g_script.message.message);
  EXPECT_EQ(static_cast<DWORD>(MB_YESNO | MB_ICONWARNING), g_script.message.style);
  EXPECT_EQ(0u, g_script.message.timeout);
  EXPECT_TRUE(g_script.message.wait);
}

TEST_F(SpoolkitPlatformTable, ShellTokenOnlyFromTheActiveConsoleSession) {
  const SPlatformCalls calls = ScriptedCalls();
  struct SCase {
    DWORD active, shell;
    bool found;
  };
  // No session at all stands for session 0.
  for (const SCase& c :
       std::vector<SCase>{{5, 5, true}, {5, 6, false}, {kNoSession, 0, true}, {kNoSession, 1, false}}) {
    g_script = SScript{};
    g_script.activeSession = c.active;
    g_script.shellSession = c.shell;
    HANDLE token = FindLoggedOnUserToken(calls);
    ASSERT_FALSE(g_script.shellTokens.empty()) << "the shell process was not found";
    EXPECT_EQ(c.found, token != nullptr) << c.active << " " << c.shell;
    // Tokens of other sessions are closed before the search ends.
    for (HANDLE seen : g_script.shellTokens) {
      DWORD flags = 0;
      EXPECT_EQ(seen == token, GetHandleInformation(seen, &flags) != FALSE);
    }
    if (token != nullptr) CloseHandle(token);
  }
}

TEST_F(SpoolkitPlatformTable, ImpersonationTokensBecomePrimaryAtTheLevelOfTheSystemVersion) {
  const SPlatformCalls calls = ScriptedCalls();
  HANDLE own = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own));
  struct SCase {
    bool known;
    DWORD major, minor;
    int level;
  };
  for (const SCase& c : std::vector<SCase>{{true, 6, 1, SecurityDelegation},
                                           {true, 5, 2, SecurityDelegation},
                                           {true, 10, 0, SecurityImpersonation},
                                           {false, 6, 1, SecurityImpersonation}}) {
    g_script = SScript{};
    g_script.versionKnown = c.known;
    g_script.major = c.major;
    g_script.minor = c.minor;
    HANDLE impersonation = nullptr;
    ASSERT_TRUE(
        DuplicateTokenEx(own, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenImpersonation, &impersonation));
    HANDLE primary = ConvertToPrimaryToken(calls, impersonation);
    EXPECT_EQ(c.level, g_script.duplicateLevel) << c.major << "." << c.minor;
    ASSERT_NE(nullptr, primary);
    TOKEN_TYPE type{};
    DWORD returned = 0;
    EXPECT_TRUE(GetTokenInformation(primary, TokenType, &type, sizeof type, &returned));
    EXPECT_EQ(TokenPrimary, type);
    CloseHandle(primary);
  }

  // A failed duplication gives none, with its error.
  g_script = SScript{};
  g_script.duplicateError = ERROR_BAD_IMPERSONATION_LEVEL;
  HANDLE impersonation = nullptr;
  ASSERT_TRUE(
      DuplicateTokenEx(own, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenImpersonation, &impersonation));
  EXPECT_EQ(nullptr, ConvertToPrimaryToken(calls, impersonation));
  EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_IMPERSONATION_LEVEL), GetLastError());

  // A primary token comes back as it is.
  g_script = SScript{};
  HANDLE primary = nullptr;
  ASSERT_TRUE(DuplicateTokenEx(own, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary, &primary));
  EXPECT_EQ(primary, ConvertToPrimaryToken(calls, primary));
  EXPECT_EQ(-1, g_script.duplicateLevel);
  CloseHandle(primary);
  CloseHandle(own);
}

}  // namespace
}  // namespace vyx::spoolkit
