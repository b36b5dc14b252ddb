// The progress window: updated by direct messages while start-up works on the same thread.
#include "manager/app/progress_dlg_win32.h"

#include <commctrl.h>

#include "common/language_win32.h"
#include "common/string_ids.h"
#include "manager/app/resource.h"

namespace vyx {

namespace {
LONG g_showings = 0;  // process-wide count of showings
}

int CProgressDlg::ShowingsSoFar() {
  return static_cast<int>(g_showings);
}

bool CProgressDlg::Create(HINSTANCE instance, CLanguageHolder* language) {
  m_window =
      CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_PROGRESS), nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
  if (!m_window) return false;
  m_bar = GetDlgItem(m_window, IDC_PROGRESS_BAR);
  if (language) {
    const std::wstring title = language->GetString(kStrProgressTitle);
    const std::wstring text = language->GetString(kStrProgressText);
    const std::wstring abort = language->GetString(kStrAbort);
    if (!title.empty()) SetWindowTextW(m_window, title.c_str());
    if (!text.empty()) SetDlgItemTextW(m_window, IDC_PROGRESS_TEXT, text.c_str());
    if (!abort.empty()) SetDlgItemTextW(m_window, IDCANCEL, abort.c_str());
  }
  EnableWindow(GetDlgItem(m_window, IDCANCEL), InterlockedIncrement(&g_showings) > 1);
  ShowWindow(m_window, SW_SHOW);
  UpdateWindow(m_window);
  Pump();
  return true;
}

void CProgressDlg::Destroy() {
  if (m_window) DestroyWindow(m_window);
  m_window = nullptr;
  m_bar = nullptr;
}

void CProgressDlg::Pump() {
  MSG msg;
  while (m_window && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageW(m_window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void CProgressDlg::SetRange(int low, int high) {
  if (m_bar) SendMessageW(m_bar, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void CProgressDlg::SetPos(int pos) {
  if (!m_bar) return;
  SendMessageW(m_bar, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
  Pump();
}

void CProgressDlg::StepIt() {
  if (m_bar) SendMessageW(m_bar, PBM_STEPIT, 0, 0);
}

void CProgressDlg::SetStep(int step) {
  if (m_bar) SendMessageW(m_bar, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

INT_PTR CALLBACK CProgressDlg::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<CProgressDlg*>(GetWindowLongPtrW(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(window, DWLP_USER, lparam);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL) {
        if (HANDLE abort = OpenEventW(EVENT_ALL_ACCESS, FALSE, kAbortPaintEventName)) {
          SetEvent(abort);
          CloseHandle(abort);
        }
        if (self) self->Destroy();
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace vyx
