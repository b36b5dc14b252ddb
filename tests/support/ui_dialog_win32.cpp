// What a user sees of a dialog or message box, and pressing its buttons: the UI robot's log and answers.
#include "tests/support/ui_driver_detail_win32.h"
#include "tests/support/ui_driver_win32.h"

namespace vyx::testing {

using namespace detail;

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static that holds a message box's text

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* summary = reinterpret_cast<CDialogSummary*>(param);
  if (!IsWindowVisible(child)) return TRUE;
  const std::wstring text = WindowText(child);
  if (_wcsicmp(ClassOf(child).c_str(), L"Button") == 0) {
    const LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
      summary->buttons.push_back({PlainLabel(text), child, IsWindowEnabled(child) != FALSE});
  } else if (!text.empty()) {
    summary->texts.push_back(text);
  }
  return TRUE;
}

// UTF-8 with line breaks written as "\n", so that one dialog stays one line.
std::string OneLine(const std::wstring& text) {
  std::string line;
  for (char c : Utf8(text)) {
    if (c == '\r') continue;
    if (c == '\n')
      line += "\\n";
    else
      line += c;
  }
  return line;
}

}  // namespace

CDialogSummary ReadDialog(HWND dialog) {
  CDialogSummary summary;
  summary.caption = WindowText(dialog);
  EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&summary));
  return summary;
}

std::string FormatDialog(const CDialogSummary& summary) {
  std::string line = "caption=" + OneLine(summary.caption) + " | text=";
  for (size_t i = 0; i < summary.texts.size(); ++i) {
    if (i) line += " / ";
    line += OneLine(summary.texts[i]);
  }
  line += " | buttons=";
  for (size_t i = 0; i < summary.buttons.size(); ++i) {
    if (i) line += ",";
    line += OneLine(summary.buttons[i].label);
    if (!summary.buttons[i].enabled) line += "[disabled]";
  }
  return line;
}

bool PressDialogButton(HWND dialog, const std::wstring& label) {
  for (const CDialogSummary::CButton& button : ReadDialog(dialog).buttons) {
    if (!button.enabled || !SameLabel(button.label, label)) continue;
    // Posted, so that a dialog which opens another one in answer cannot block the caller.
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button.window), BN_CLICKED),
                        reinterpret_cast<LPARAM>(button.window)) != FALSE;
  }
  return false;
}

HWND WaitForMessageBox(DWORD pid, const std::wstring& caption, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : FindTopWindows(pid, {caption, L"#32770"})) {
          const HWND text = GetDlgItem(window, kMessageTextId);
          if (text && _wcsicmp(ClassOf(text).c_str(), L"Static") == 0) {
            found = window;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

}  // namespace vyx::testing
