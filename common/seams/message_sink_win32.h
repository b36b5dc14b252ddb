// The message seam on Windows: MessageBoxW without an owner window, and the sink the shared code reports to.
#pragma once

#include "common/seams/message_sink.h"

namespace vyx {

class CWin32MessageSink : public CMessageSink {
 public:
  int Show(const std::wstring& text, const std::wstring& caption, unsigned style) override;
};

// Where the shared code's messages go: a CWin32MessageSink unless a test redirects them.
CMessageSink& ProgramMessageSink();
// Redirects the messages; nullptr goes back to the message box. Returns the sink that was set before.
CMessageSink* SetProgramMessageSink(CMessageSink* sink);

}  // namespace vyx
