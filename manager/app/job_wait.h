// Waiting for the job data: the driver may create the pipe after the manager starts, and a job queued behind
// others may take any time before its data comes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/seams/message_sink.h"

namespace vyx {

inline constexpr std::uint32_t kJobWaitLimitMs = 300000;
inline constexpr std::uint32_t kJobPromptEveryMs = 10000;
inline constexpr std::uint32_t kJobWaitPollMs = 50;

// Error codes the wait tells apart.
inline constexpr std::uint32_t kErrFileNotFound = 2;
inline constexpr std::uint32_t kErrPathNotFound = 3;
inline constexpr std::uint32_t kErrInvalidParameter = 87;
inline constexpr std::uint32_t kErrBadNetPath = 53;
inline constexpr std::uint32_t kErrBadPathName = 161;
inline constexpr std::uint32_t kErrPipeBusy = 231;
inline constexpr std::uint32_t kErrLogonFailure = 1326;

// What a job query says about the job.
struct CJobQueueState {
  bool hasStatusText = false;
  std::wstring statusText;
  std::uint32_t status = 0;
  std::uint32_t position = 0;
};

// The platform calls of the wait, so that it runs on a fake clock in tests.
class CJobWaitCalls {
 public:
  virtual ~CJobWaitCalls() = default;
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // Opens the location for reading (no sharing, existing only); keeps the handle on success.
  virtual bool OpenJobData(const std::wstring& location) = 0;
  virtual std::uint32_t LastError() = 0;
  virtual bool HasPrinter() = 0;
  // Level 1 query of the job; false with LastError() set when the query fails.
  virtual bool QueryJob(std::int32_t jobId, CJobQueueState& state) = 0;
  virtual bool WaitForPipe(const std::wstring& location, std::uint32_t timeoutMs) = 0;
};

// The language texts the wait shows; a missing text means that message cannot be shown.
struct CJobWaitTexts {
  std::optional<std::wstring> notFoundText;     // 1504
  std::optional<std::wstring> notFoundCaption;  // 1505
  // 1500 formatted with the machine name; empty optional when the string does not load.
  std::function<std::optional<std::wstring>(const std::wstring& machine)> logonFailure;
};

enum class EJobWait { kConnected, kNotConnected, kCancelled };

struct CJobWaitResult {
  EJobWait outcome = EJobWait::kNotConnected;
  bool jobDeleted = false;  // the spooler no longer knows the job: no failure message is shown for it
};

CJobWaitResult WaitForJobData(CJobWaitCalls& calls,
                              CMessageSink& messages,
                              const CJobWaitTexts& texts,
                              const std::wstring& location,
                              const std::wstring& machineName,
                              std::int32_t jobId);

}  // namespace vyx
