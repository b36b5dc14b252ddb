// Token exports: the logged-on user's token, and primary tokens of a process or a thread.
#include "spoolkit/tokens_win32.h"

#include <optional>

#include "spoolkit/process_search_win32.h"
#include "spoolkit/scoped_handles_win32.h"
#include "spoolkit/spoolkit.h"
#include "spoolkit/system_rules.h"

namespace vyx::spoolkit {

HANDLE ConvertToPrimaryToken(const SPlatformCalls& calls, HANDLE token) {
  CScopedHandle owned(token);
  TOKEN_TYPE type{};
  DWORD returned = 0;
  if (!GetTokenInformation(token, TokenType, &type, sizeof type, &returned)) return nullptr;
  if (type == TokenPrimary) return owned.Detach();
  if (type != TokenImpersonation) return nullptr;
  DWORD major = 0;
  DWORD minor = 0;
  const std::optional<std::uint32_t> knownMajor =
      calls.systemVersion(&major, &minor) ? std::optional<std::uint32_t>(major) : std::nullopt;
  const auto level = static_cast<SECURITY_IMPERSONATION_LEVEL>(ChooseImpersonationLevel(knownMajor, minor));
  HANDLE primary = nullptr;
  if (!calls.duplicateToken(token, MAXIMUM_ALLOWED, nullptr, level, TokenPrimary, &primary)) return nullptr;
  return primary;
}

HANDLE FindLoggedOnUserToken(const SPlatformCalls& calls) {
  DWORD session = calls.activeConsoleSession();
  if (session == kNoSession) session = 0;
  HANDLE found = nullptr;
  VisitNamedProcesses(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, [&](CScopedHandle& process, std::wstring_view name) {
    if (!EqualsIgnoringCase(name, L"Explorer.EXE")) return true;
    CScopedHandle token;
    if (!OpenProcessToken(process.Get(), TOKEN_ALL_ACCESS, token.Out())) return true;
    DWORD tokenSession = 0;
    if (!calls.tokenSession(token.Get(), &tokenSession) || tokenSession != session) return true;
    found = token.Detach();
    return false;
  });
  return found;
}

}  // namespace vyx::spoolkit

using namespace vyx::spoolkit;

extern "C" HANDLE WINAPI GetLoggedOnUserPrimToken(void) {
  return FindLoggedOnUserToken(RealPlatformCalls());
}

extern "C" HANDLE WINAPI GetPrimProcessToken(DWORD processId) {
  CScopedHandle opened;
  HANDLE process = GetCurrentProcess();
  if (processId != 0) {
    opened.Reset(OpenProcess(PROCESS_ALL_ACCESS, TRUE, processId));
    if (!opened) return nullptr;
    process = opened.Get();
  }
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_ALL_ACCESS, &token)) return nullptr;
  return ConvertToPrimaryToken(RealPlatformCalls(), token);
}

extern "C" HANDLE WINAPI GetPrimThreadToken(DWORD threadId) {
  CScopedHandle opened;
  HANDLE thread = GetCurrentThread();
  if (threadId != 0) {
    opened.Reset(OpenThread(THREAD_ALL_ACCESS, TRUE, threadId));
    if (!opened) return nullptr;
    thread = opened.Get();
  }
  HANDLE token = nullptr;
  if (!OpenThreadToken(thread, TOKEN_ALL_ACCESS, TRUE, &token)) return nullptr;
  return ConvertToPrimaryToken(RealPlatformCalls(), token);
}
