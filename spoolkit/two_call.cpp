// The two-call decisions shared by the job and computer-name wrappers and the registry reads.
#include "spoolkit/two_call.h"

namespace vyx::spoolkit {

ESizeQueryOutcome DecideAfterSizeQuery(bool succeeded, std::uint32_t error) {
  if (succeeded) return ESizeQueryOutcome::kSucceeded;
  return error == kErrorInsufficientBuffer ? ESizeQueryOutcome::kAllocate : ESizeQueryOutcome::kFail;
}

bool ShouldRepeatQuery(int attemptsMade, std::uint32_t error, std::uint32_t repeatOn) {
  return error == repeatOn && attemptsMade < kMaxQueryAttempts;
}

}  // namespace vyx::spoolkit
