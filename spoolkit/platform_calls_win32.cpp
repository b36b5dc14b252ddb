// The real platform calls behind the session helper's table.
#include "spoolkit/platform_calls_win32.h"

#include <winspool.h>
#include <wtsapi32.h>

namespace vyx::spoolkit {

namespace {

// Older systems lack the call, so it is looked up when needed rather than imported.
DWORD RealActiveConsoleSession() {
  HMODULE kernel = GetModuleHandleW(L"Kernel32.dll");
  if (kernel == nullptr) return kNoSession;
  using FActiveSession = DWORD(WINAPI*)();
  const auto active =
      reinterpret_cast<FActiveSession>(reinterpret_cast<void*>(GetProcAddress(kernel, "WTSGetActiveConsoleSessionId")));
  return active != nullptr ? active() : kNoSession;
}

// The kernel's own version: the answer of GetVersionEx depends on the manifest of the program that loaded us.
bool RealSystemVersion(DWORD* major, DWORD* minor) {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  using FRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto rtlGetVersion =
      ntdll != nullptr
          ? reinterpret_cast<FRtlGetVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
          : nullptr;
  if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) return false;
  *major = info.dwMajorVersion;
  *minor = info.dwMinorVersion;
  return true;
}

bool RealTokenSession(HANDLE token, DWORD* sessionId) {
  DWORD returned = 0;
  return GetTokenInformation(token, TokenSessionId, sessionId, sizeof *sessionId, &returned) != FALSE;
}

BOOL WINAPI RealEnumJobs(HANDLE printer,
                         DWORD firstJob,
                         DWORD jobCount,
                         DWORD level,
                         BYTE* buffer,
                         DWORD size,
                         DWORD* needed,
                         DWORD* returned) {
  return EnumJobsW(printer, firstJob, jobCount, level, buffer, size, needed, returned);
}

BOOL WINAPI RealGetJob(HANDLE printer, DWORD jobId, DWORD level, BYTE* buffer, DWORD size, DWORD* needed) {
  return GetJobW(printer, jobId, level, buffer, size, needed);
}

BOOL WINAPI RealSendSessionMessage(HANDLE server,
                                   DWORD sessionId,
                                   LPWSTR title,
                                   DWORD titleBytes,
                                   LPWSTR message,
                                   DWORD messageBytes,
                                   DWORD style,
                                   DWORD timeout,
                                   DWORD* response,
                                   BOOL wait) {
  return WTSSendMessageW(server, sessionId, title, titleBytes, message, messageBytes, style, timeout, response, wait);
}

BOOL WINAPI RealDuplicateToken(HANDLE token,
                               DWORD access,
                               SECURITY_ATTRIBUTES* attributes,
                               SECURITY_IMPERSONATION_LEVEL level,
                               TOKEN_TYPE type,
                               HANDLE* duplicate) {
  return DuplicateTokenEx(token, access, attributes, level, type, duplicate);
}

constexpr SPlatformCalls kRealCalls = {
    RealEnumJobs,      RealGetJob,       RealSendSessionMessage, RealActiveConsoleSession,
    RealSystemVersion, RealTokenSession, RealDuplicateToken,
};

}  // namespace

const SPlatformCalls& RealPlatformCalls() {
  return kRealCalls;
}

}  // namespace vyx::spoolkit
