// The status thread: query, keep the reply, tell the window.
#include "manager/app/status_poll_win32.h"

#include <winspool.h>

#include "manager/app/catalogue_win32.h"

namespace vyx {

namespace {

HANDLE OpenReal(const std::wstring& printerName) {
  return OpenPrinterForMaterials(printerName);
}

void CloseReal(HANDLE printer) {
  ClosePrinter(printer);
}

constexpr DWORD kForcedExitCode = 255;

}  // namespace

const CStatusCalls& RealStatusCalls() {
  static const CStatusCalls calls{OpenReal, QueryMaterials, CloseReal};
  return calls;
}

bool CStatusPoll::Open(const std::wstring& printerName) {
  m_printer = m_calls.open(printerName);
  return m_printer != nullptr;
}

bool CStatusPoll::Running() const {
  return m_thread && WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT;
}

bool CStatusPoll::Poll(HWND window) {
  if (!m_printer) return false;
  if (m_thread) {
    if (Running()) return false;
    CloseHandle(m_thread);
    m_thread = nullptr;
  }
  m_window = window;
  m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
  if (m_thread) ++m_polls;
  return m_thread != nullptr;
}

DWORD WINAPI CStatusPoll::ThreadMain(void* param) {
  auto* self = static_cast<CStatusPoll*>(param);
  char reply[kMaterialsReplyBytes] = {};
  DWORD got = 0;
  if (!self->m_calls.query(self->m_printer, reply, &got)) return 0;
  {
    std::lock_guard<std::mutex> hold(self->m_lock);
    self->m_reply = std::string(reply, got);
  }
  PostMessageW(self->m_window, kReplyMessage, 0, 0);
  return 0;
}

std::optional<std::string> CStatusPoll::TakeReply() {
  std::lock_guard<std::mutex> hold(m_lock);
  std::optional<std::string> reply;
  reply.swap(m_reply);
  return reply;
}

void CStatusPoll::Stop() {
  if (m_thread) {
    if (WaitForSingleObject(m_thread, kEndWaitMs) == WAIT_TIMEOUT) TerminateThread(m_thread, kForcedExitCode);
    CloseHandle(m_thread);
    m_thread = nullptr;
  }
  if (m_printer) {
    m_calls.close(m_printer);
    m_printer = nullptr;
  }
}

}  // namespace vyx
