// The one form in which a failing platform call is reported to the user: the system's text for the error code,
// the caption "Operation: Call", an OK button, no owner window; nothing at all for error code 0.
#pragma once

#include <string>

#include "common/seams/message_sink.h"

namespace vyx {

// `system_text` gives the system message for a code (empty when the system has none).
void ShowFailureMessage(CMessageSink& sink,
                        unsigned long error,
                        const std::wstring& caption,
                        std::wstring (*system_text)(unsigned long error));

// "ReadLangBase" and "RegOpenKeyEx" give "ReadLangBase: RegOpenKeyEx".
std::wstring MakeFailureCaption(const std::wstring& operation, const std::wstring& call);

}  // namespace vyx
