// The platform calls of the session helper that Wine only stubs or that a test cannot make real, as a table of
// function pointers: the exports use the real table, tests pass tables with the platform's answers.
#pragma once

#include <windows.h>

namespace vyx::spoolkit {

// Session id that stands for "no session".
constexpr DWORD kNoSession = 0xFFFFFFFF;

struct SPlatformCalls {
  BOOL(WINAPI* enumJobs)
  (HANDLE printer,
   DWORD firstJob,
   DWORD jobCount,
   DWORD level,
   BYTE* buffer,
   DWORD size,
   DWORD* needed,
   DWORD* returned);
  BOOL(WINAPI* getJob)(HANDLE printer, DWORD jobId, DWORD level, BYTE* buffer, DWORD size, DWORD* needed);
  BOOL(WINAPI* sendSessionMessage)
  (HANDLE server,
   DWORD sessionId,
   LPWSTR title,
   DWORD titleBytes,
   LPWSTR message,
   DWORD messageBytes,
   DWORD style,
   DWORD timeout,
   DWORD* response,
   BOOL wait);
  // The active console session; kNoSession when there is none or the system lacks the call.
  DWORD (*activeConsoleSession)();
  // The system's version; false when it cannot be read.
  bool (*systemVersion)(DWORD* major, DWORD* minor);
  // The session a token belongs to; false when it cannot be read.
  bool (*tokenSession)(HANDLE token, DWORD* sessionId);
  BOOL(WINAPI* duplicateToken)
  (HANDLE token,
   DWORD access,
   SECURITY_ATTRIBUTES* attributes,
   SECURITY_IMPERSONATION_LEVEL level,
   TOKEN_TYPE type,
   HANDLE* duplicate);
};

const SPlatformCalls& RealPlatformCalls();

}  // namespace vyx::spoolkit
