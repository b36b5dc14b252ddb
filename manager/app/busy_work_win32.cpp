// One worker thread at a time, reporting back to its window.
#include "manager/app/busy_work_win32.h"

#include <utility>

namespace vyx {

bool CBusyWork::Start(HWND window, std::function<void()> work) {
  if (m_thread) return false;
  m_window = window;
  m_work = std::move(work);
  m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
  return m_thread != nullptr;
}

DWORD WINAPI CBusyWork::ThreadMain(void* param) {
  auto* self = static_cast<CBusyWork*>(param);
  self->m_work();
  PostMessageW(self->m_window, kDoneMessage, 0, 0);
  return 0;
}

void CBusyWork::Finish() {
  if (!m_thread) return;
  WaitForSingleObject(m_thread, INFINITE);
  CloseHandle(m_thread);
  m_thread = nullptr;
  m_work = nullptr;
}

}  // namespace vyx
