// The decisions of the two-call pattern (ask for the size, allocate, fetch) and of the bounded query repeats.
#pragma once

#include <cstdint>

namespace vyx::spoolkit {

constexpr std::uint32_t kErrorInsufficientBuffer = 122;
constexpr std::uint32_t kErrorMoreData = 234;
// Application-defined code 11: a size query of a job succeeded with an empty buffer.
constexpr std::uint32_t kErrorSizeQuerySucceeded = 0x2000000B;

enum class ESizeQueryOutcome {
  kSucceeded,  // the size query itself succeeded: there is nothing to fetch
  kAllocate,   // the call needs a buffer of the reported size
  kFail,       // any other failure: the query's error stays the last error
};

ESizeQueryOutcome DecideAfterSizeQuery(bool succeeded, std::uint32_t error);

// Queries that report a too small buffer are tried at most this often in all.
constexpr int kMaxQueryAttempts = 3;

// Whether a query that has been made `attemptsMade` times and last answered `error` is made once more.
bool ShouldRepeatQuery(int attemptsMade, std::uint32_t error, std::uint32_t repeatOn);

}  // namespace vyx::spoolkit
