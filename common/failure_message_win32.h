// Failure messages on Windows: the system message table and the program's message sink.
#pragma once

#include <string>

namespace vyx {

// The system's own text for an error code (inserts ignored, neutral language), as the system gives it; empty
// when the message table has none.
std::wstring GetSystemMessageText(unsigned long error);

// Shows the failure message through ProgramMessageSink(); nothing for error code 0.
void ShowFailureMessage(unsigned long error, const std::wstring& caption);

}  // namespace vyx
