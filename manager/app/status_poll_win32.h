// The main window's printer status poll: one thread at a time asks the printer for its loaded materials and hands
// the reply to the window; a thread that hangs never keeps the window from closing.
#pragma once

#include <windows.h>

#include <mutex>
#include <optional>
#include <string>

#include "manager/app/printer_materials.h"

namespace vyx {

// The printer calls of the poll, replaceable so that tests can make the printer slow, silent or garbled.
struct CStatusCalls {
  HANDLE (*open)(const std::wstring& printerName);
  // Runs on the status thread. Fills `reply` and its length; false when the query fails.
  bool (*query)(HANDLE printer, char (&reply)[kMaterialsReplyBytes], DWORD* got);
  void (*close)(HANDLE printer);
};
const CStatusCalls& RealStatusCalls();

class CStatusPoll {
 public:
  // Posted to the window when a reply is there; TakeReply gives it.
  static constexpr UINT kReplyMessage = WM_APP + 35;
  // How long closing waits for a running thread before ending it.
  static constexpr DWORD kEndWaitMs = 1000;

  explicit CStatusPoll(const CStatusCalls& calls = RealStatusCalls()) : m_calls(calls) {}
  ~CStatusPoll() { Stop(); }
  CStatusPoll(const CStatusPoll&) = delete;
  CStatusPoll& operator=(const CStatusPoll&) = delete;

  // Opens the printer; false when it cannot be opened (then nothing is ever polled).
  bool Open(const std::wstring& printerName);
  bool IsOpen() const { return m_printer != nullptr; }
  // Starts a thread unless one still runs; false when none was started.
  bool Poll(HWND window);
  bool Running() const;
  int Polls() const { return m_polls; }
  std::optional<std::string> TakeReply();
  // Waits up to kEndWaitMs for a running thread, then ends it (exit code 255); closes the printer afterwards, so
  // that no query ever runs on a closed handle.
  void Stop();

 private:
  static DWORD WINAPI ThreadMain(void* self);

  CStatusCalls m_calls;
  HANDLE m_printer = nullptr;
  HANDLE m_thread = nullptr;
  HWND m_window = nullptr;
  int m_polls = 0;
  std::mutex m_lock;
  std::optional<std::string> m_reply;
};

}  // namespace vyx
