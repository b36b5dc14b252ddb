// Message seam: every message box the programs show goes through here (MessageBoxW on Windows, a script in tests).
#pragma once

#include <string>
#include <vector>

namespace vyx {

// Button sets, icons and answers with the values of the Windows message box, so the Win32 sink passes them on.
enum : unsigned {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbYesNo = 0x4,
  kMbRetryCancel = 0x5,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdRetry = 4, kIdYes = 6, kIdNo = 7 };

class CMessageSink {
 public:
  virtual ~CMessageSink() = default;
  // Shows the message without an owner window and returns the button pressed.
  virtual int Show(const std::wstring& text, const std::wstring& caption, unsigned style) = 0;
};

// Records what would be shown and answers from a queue (kIdOk when it runs dry).
class CRecordingMessageSink : public CMessageSink {
 public:
  struct Shown {
    std::wstring text;
    std::wstring caption;
    unsigned style;
  };
  int Show(const std::wstring& text, const std::wstring& caption, unsigned style) override {
    shown.push_back({text, caption, style});
    if (next >= answers.size()) return kIdOk;
    return answers[next++];
  }
  std::vector<Shown> shown;
  std::vector<int> answers;
  std::size_t next = 0;
};

}  // namespace vyx
