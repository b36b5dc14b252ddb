// Work that would hold up the user-interface thread (writing a large job, the knock-out of every page) runs on a
// thread of its own; the window is told when it is done and takes no input meanwhile.
#pragma once

#include <windows.h>

#include <functional>

namespace vyx {

class CBusyWork {
 public:
  // Posted to the window when the work has ended; call Finish then.
  static constexpr UINT kDoneMessage = WM_APP + 36;

  CBusyWork() = default;
  ~CBusyWork() { Finish(); }
  CBusyWork(const CBusyWork&) = delete;
  CBusyWork& operator=(const CBusyWork&) = delete;

  // Runs `work` on a new thread; false (and nothing runs) while earlier work is still going or no thread starts.
  bool Start(HWND window, std::function<void()> work);
  bool Busy() const { return m_thread != nullptr; }
  // Waits for the thread to end and lets it go.
  void Finish();

 private:
  static DWORD WINAPI ThreadMain(void* self);

  HANDLE m_thread = nullptr;
  HWND m_window = nullptr;
  std::function<void()> m_work;
};

}  // namespace vyx
