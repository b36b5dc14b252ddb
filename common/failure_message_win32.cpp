// Failure messages on Windows: FormatMessageW from the system table, shown through the program's message sink.
#include "common/failure_message_win32.h"

#include <windows.h>

#include "common/failure_message.h"
#include "common/seams/message_sink_win32.h"

namespace vyx {

std::wstring GetSystemMessageText(unsigned long error) {
  wchar_t* text = nullptr;
  const DWORD n =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(error), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                     reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring result;
  if (n > 0 && text != nullptr) result.assign(text, n);
  if (text != nullptr) LocalFree(text);
  return result;
}

void ShowFailureMessage(unsigned long error, const std::wstring& caption) {
  ShowFailureMessage(ProgramMessageSink(), error, caption, &GetSystemMessageText);
}

}  // namespace vyx
