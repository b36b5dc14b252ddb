// What the manager's dialogs share in binding themselves to their windows: the dialog procedure that hands each
// message to the object created with the dialog, reading a control's whole text, and refusing a value on closing.
#pragma once

#include <windows.h>

#include <string>

namespace vyx {

// The object's pointer comes with WM_INITDIALOG (DialogBoxParamW's parameter) and is kept in DWLP_USER; messages
// before it go unhandled. T gives itself the window in `Attach` and handles messages in `Handle`.
template <class T>
INT_PTR CALLBACK BoundDialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    reinterpret_cast<T*>(lparam)->Attach(window);
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, DWLP_USER));
  return self ? self->Handle(message, wparam, lparam) : FALSE;
}

inline std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

// A value that cannot be read back: the message (with the manager's caption), then the edit focused and selected.
inline void ShowReadBackFailure(HWND dialog, int edit, const std::wstring& message, const wchar_t* caption) {
  MessageBoxW(dialog, message.c_str(), caption, MB_OK | MB_ICONEXCLAMATION);
  HWND control = GetDlgItem(dialog, edit);
  SetFocus(control);
  SendMessageW(control, EM_SETSEL, 0, -1);
}

}  // namespace vyx
