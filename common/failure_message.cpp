// Failure message form shared by every platform call the user should hear about.
#include "common/failure_message.h"

namespace vyx {

void ShowFailureMessage(CMessageSink& sink,
                        unsigned long error,
                        const std::wstring& caption,
                        std::wstring (*system_text)(unsigned long error)) {
  if (error == 0) return;
  sink.Show(system_text != nullptr ? system_text(error) : std::wstring(), caption, kMbOk);
}

std::wstring MakeFailureCaption(const std::wstring& operation, const std::wstring& call) {
  return operation + L": " + call;
}

}  // namespace vyx
