// The wait loop for the job data. Times are unsigned 32-bit tick differences, so they survive the counter's wrap.
#include "manager/app/job_wait.h"

namespace vyx {

namespace {

// A job that waits behind others in the queue, with no status of its own, has not been started by the driver yet.
bool IsQueuedBehindOthers(const CJobQueueState& s) {
  const bool noStatus = s.hasStatusText ? s.statusText.empty() : s.status == 0;
  return noStatus && s.position > 1;
}

}  // namespace

CJobWaitResult WaitForJobData(CJobWaitCalls& calls,
                              CMessageSink& messages,
                              const CJobWaitTexts& texts,
                              const std::wstring& location,
                              const std::wstring& machineName,
                              std::int32_t jobId) {
  CJobWaitResult result;
  std::uint32_t start = calls.TickCount();
  std::uint32_t warn = start;
  std::uint32_t now = start;
  for (;;) {
    if (now < start) start = 0;
    if (calls.OpenJobData(location)) {
      result.outcome = EJobWait::kConnected;
      return result;
    }
    const std::uint32_t error = calls.LastError();
    if (error == kErrFileNotFound) {
      if (calls.HasPrinter()) {
        CJobQueueState state;
        if (!calls.QueryJob(jobId, state)) {
          if (calls.LastError() == kErrInvalidParameter && jobId > 0) {
            // The job was deleted from the queue: its data will never come, and nobody is to be told. A location
            // without a job id (a file) has no spooler job, so a failing query says nothing about it.
            result.jobDeleted = true;
            return result;
          }
        } else if (IsQueuedBehindOthers(state)) {
          start = warn = now;
        }
      }
      if (now - warn > kJobPromptEveryMs && texts.notFoundText && texts.notFoundCaption) {
        const int answer = messages.Show(*texts.notFoundText, *texts.notFoundCaption, kMbRetryCancel | kMbIconWarning);
        if (answer == kIdCancel) {
          result.outcome = EJobWait::kCancelled;
          return result;
        }
        warn = calls.TickCount();
      }
    } else if (error == kErrBadNetPath || error == kErrBadPathName) {
      // The share or pipe path is not reachable yet: keep waiting.
    } else if (error == kErrLogonFailure) {
      const auto text = texts.logonFailure ? texts.logonFailure(machineName) : std::nullopt;
      messages.Show(text.value_or(L""), L"CreateFile", kMbOk);
    } else if (error == kErrPipeBusy) {
      const std::uint32_t elapsed = calls.TickCount() - start;
      const std::uint32_t left = elapsed < kJobWaitLimitMs ? kJobWaitLimitMs - elapsed : 0;
      if (!calls.WaitForPipe(location, left)) return result;
    } else {
      messages.Show(L"not ERROR_PIPE_BUSY !", L"CreateFile", kMbOk);
      return result;
    }
    calls.Sleep(kJobWaitPollMs);
    now = calls.TickCount();
    if (now - start >= kJobWaitLimitMs) return result;
  }
}

}  // namespace vyx
