// Job exports: enumeration and single jobs in the two-call pattern, the deleting state, the job's device settings
// and whether it came from another computer.
#include "spoolkit/print_jobs_win32.h"

#include <winspool.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "spoolkit/paths_system_win32.h"
#include "spoolkit/scoped_handles_win32.h"
#include "spoolkit/spoolkit.h"
#include "spoolkit/system_rules.h"
#include "spoolkit/two_call.h"

namespace vyx::spoolkit {

namespace {

// The two-call pattern around `call(buffer, size, needed)`: on success *result holds a zero-filled LocalAlloc
// buffer the caller frees, or null when the size query itself succeeded.
template <typename FCall>
BOOL FetchTwoCall(const FCall& call, BYTE** result, DWORD* bytesNeeded) {
  *result = nullptr;
  DWORD needed = 0;
  // A stale code must not pass for the size query's answer (some spoolers fail the call without setting one).
  SetLastError(ERROR_SUCCESS);
  const BOOL sized = call(nullptr, 0, &needed);
  *bytesNeeded = needed;
  switch (DecideAfterSizeQuery(sized != FALSE, GetLastError())) {
    case ESizeQueryOutcome::kSucceeded:
      return sized;
    case ESizeQueryOutcome::kFail:
      return FALSE;
    case ESizeQueryOutcome::kAllocate:
      break;
  }
  CScopedLocal buffer(LocalAlloc(LPTR, needed));
  if (!buffer) return FALSE;
  if (!call(static_cast<BYTE*>(buffer.Get()), needed, &needed)) {
    *bytesNeeded = needed;
    return FALSE;
  }
  *bytesNeeded = needed;
  *result = static_cast<BYTE*>(buffer.Detach());
  return TRUE;
}

// The printer handle to use: the caller's, or the named printer opened for reading for this call.
HANDLE UsePrinter(HANDLE printer, LPCWSTR printerName, CScopedPrinter& opened) {
  if (printer != nullptr) return printer;
  if (printerName == nullptr || *printerName == L'\0') {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return nullptr;
  }
  PRINTER_DEFAULTSW read{nullptr, nullptr, PRINTER_READ};
  if (!OpenPrinterW(const_cast<wchar_t*>(printerName), opened.Out(), &read)) return nullptr;
  return opened.Get();
}

}  // namespace

BOOL WrapEnumJobsWith(const SPlatformCalls& calls,
                      HANDLE printer,
                      DWORD firstJob,
                      DWORD jobCount,
                      DWORD level,
                      BYTE** jobs,
                      DWORD* bytesNeeded,
                      DWORD* jobsReturned) {
  if (jobs == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD needed = 0;
  DWORD returned = 0;
  const BOOL ok = FetchTwoCall(
      [&](BYTE* buffer, DWORD size, DWORD* need) {
        return calls.enumJobs(printer, firstJob, jobCount, level, buffer, size, need, &returned);
      },
      jobs, &needed);
  if (bytesNeeded != nullptr) *bytesNeeded = needed;
  if (jobsReturned != nullptr) *jobsReturned = returned;
  return ok;
}

BOOL WrapGetJobWith(const SPlatformCalls& calls,
                    HANDLE printer,
                    DWORD jobId,
                    DWORD level,
                    BYTE** job,
                    DWORD* bytesNeeded) {
  if (job == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD needed = 0;
  const BOOL ok = FetchTwoCall(
      [&](BYTE* buffer, DWORD size, DWORD* need) { return calls.getJob(printer, jobId, level, buffer, size, need); },
      job, &needed);
  if (bytesNeeded != nullptr) *bytesNeeded = needed;
  // A job always needs a buffer: a size query that succeeds is reported as such.
  if (ok && *job == nullptr) SetLastError(kErrorSizeQuerySucceeded);
  return ok;
}

BOOL IsJobDeletedWith(const SPlatformCalls& calls, HANDLE printer, DWORD jobId, LPCWSTR printerName) {
  CScopedPrinter opened;
  const HANDLE use = UsePrinter(printer, printerName, opened);
  if (use == nullptr) return FALSE;
  CScopedLocal job;
  BYTE* bytes = nullptr;
  if (!WrapGetJobWith(calls, use, jobId, 1, &bytes, nullptr) || bytes == nullptr) return FALSE;
  job.Reset(bytes);
  return (reinterpret_cast<const JOB_INFO_1W*>(bytes)->Status & JOB_STATUS_DELETING) != 0 ? 1 : 0;
}

BOOL GetJobDevModeWith(const SPlatformCalls& calls,
                       HANDLE printer,
                       DWORD jobId,
                       DEVMODEW* devMode,
                       DWORD bufferSize,
                       DWORD* bytesNeeded,
                       LPCWSTR printerName) {
  CScopedPrinter opened;
  const HANDLE use = UsePrinter(printer, printerName, opened);
  if (use == nullptr) return FALSE;
  CScopedLocal job;
  BYTE* bytes = nullptr;
  DWORD jobSize = 0;
  if (!WrapGetJobWith(calls, use, jobId, 2, &bytes, &jobSize) || bytes == nullptr) return FALSE;
  job.Reset(bytes);
  const DEVMODEW* settings = reinterpret_cast<const JOB_INFO_2W*>(bytes)->pDevMode;
  if (settings == nullptr) return FALSE;
  // The record lies inside the job buffer, after the job's own fields; sizes reaching beyond it are not copied.
  const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(bytes) + sizeof(JOB_INFO_2W);
  const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(bytes) + jobSize;
  const auto start = reinterpret_cast<std::uintptr_t>(settings);
  constexpr std::size_t kSizeFields = offsetof(DEVMODEW, dmDriverExtra) + sizeof(WORD);
  if (start < first || start > end || end - start < kSizeFields) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  const DWORD size = DWORD{settings->dmSize} + DWORD{settings->dmDriverExtra};
  if (size > end - start) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  if (bytesNeeded != nullptr) *bytesNeeded = size;
  if (devMode == nullptr || bufferSize < size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(devMode, settings, size);
  return TRUE;
}

BOOL IsRemotePrintingComputerWith(const SPlatformCalls& calls, HANDLE printer, DWORD jobId) {
  if (printer == nullptr) return FALSE;
  CScopedLocal job;
  BYTE* bytes = nullptr;
  if (!WrapGetJobWith(calls, printer, jobId, 1, &bytes, nullptr) || bytes == nullptr) return FALSE;
  job.Reset(bytes);
  const wchar_t* machine = reinterpret_cast<const JOB_INFO_1W*>(bytes)->pMachineName;
  wchar_t computer[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (machine == nullptr || !ReadComputerName(computer, &size)) return FALSE;
  return IsOtherMachine(machine, computer) ? 1 : 0;
}

}  // namespace vyx::spoolkit

using namespace vyx::spoolkit;

extern "C" BOOL WINAPI WrapEnumJobs(HANDLE printer,
                                    DWORD firstJob,
                                    DWORD jobCount,
                                    DWORD level,
                                    BYTE** jobs,
                                    DWORD* bytesNeeded,
                                    DWORD* jobsReturned) {
  return WrapEnumJobsWith(RealPlatformCalls(), printer, firstJob, jobCount, level, jobs, bytesNeeded, jobsReturned);
}

extern "C" BOOL WINAPI WrapGetJob(HANDLE printer, DWORD jobId, DWORD level, BYTE** job, DWORD* bytesNeeded) {
  return WrapGetJobWith(RealPlatformCalls(), printer, jobId, level, job, bytesNeeded);
}

extern "C" BOOL WINAPI IsJobDeleted(HANDLE printer, DWORD jobId, LPCWSTR printerName) {
  return IsJobDeletedWith(RealPlatformCalls(), printer, jobId, printerName);
}

extern "C" BOOL WINAPI GetJobDevMode(HANDLE printer,
                                     DWORD jobId,
                                     DEVMODEW* devMode,
                                     DWORD bufferSize,
                                     DWORD* bytesNeeded,
                                     LPCWSTR printerName) {
  return GetJobDevModeWith(RealPlatformCalls(), printer, jobId, devMode, bufferSize, bytesNeeded, printerName);
}

extern "C" BOOL WINAPI IsRemotePrintingComputer(HANDLE printer, DWORD jobId) {
  return IsRemotePrintingComputerWith(RealPlatformCalls(), printer, jobId);
}
