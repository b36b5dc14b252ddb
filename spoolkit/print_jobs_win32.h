// Print job queries: the two-call job wrappers and what the driver asks of one job.
#pragma once

#include <windows.h>

#include "spoolkit/platform_calls_win32.h"

namespace vyx::spoolkit {

BOOL WrapEnumJobsWith(const SPlatformCalls& calls,
                      HANDLE printer,
                      DWORD firstJob,
                      DWORD jobCount,
                      DWORD level,
                      BYTE** jobs,
                      DWORD* bytesNeeded,
                      DWORD* jobsReturned);
BOOL WrapGetJobWith(const SPlatformCalls& calls,
                    HANDLE printer,
                    DWORD jobId,
                    DWORD level,
                    BYTE** job,
                    DWORD* bytesNeeded);
BOOL IsJobDeletedWith(const SPlatformCalls& calls, HANDLE printer, DWORD jobId, LPCWSTR printerName);
BOOL GetJobDevModeWith(const SPlatformCalls& calls,
                       HANDLE printer,
                       DWORD jobId,
                       DEVMODEW* devMode,
                       DWORD bufferSize,
                       DWORD* bytesNeeded,
                       LPCWSTR printerName);
BOOL IsRemotePrintingComputerWith(const SPlatformCalls& calls, HANDLE printer, DWORD jobId);

}  // namespace vyx::spoolkit
