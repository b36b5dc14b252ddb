// MessageBoxW behind the message seam, and the process-wide sink the shared code reports to.
#include "common/seams/message_sink_win32.h"

#include <windows.h>

namespace vyx {
namespace {

CWin32MessageSink g_messageBox;
CMessageSink* g_redirected = nullptr;

}  // namespace

int CWin32MessageSink::Show(const std::wstring& text, const std::wstring& caption, unsigned style) {
  return MessageBoxW(nullptr, text.c_str(), caption.c_str(), style);
}

CMessageSink& ProgramMessageSink() {
  return g_redirected != nullptr ? *g_redirected : g_messageBox;
}

CMessageSink* SetProgramMessageSink(CMessageSink* sink) {
  CMessageSink* const before = g_redirected;
  g_redirected = sink;
  return before;
}

}  // namespace vyx
