// Drives the real windows of another process by control id, as a user would: Win32 end-to-end tests find a
// program's windows, read its controls and act on them, then check what the program did.
//
// Actions travel as real input does: posted to the program's message queue (so its message loop, dialog manager
// and accelerators see them). Each then waits until the program's loop has taken them, which means they were
// handled, or a modal loop they opened (a message box, a dialog, a pop-up menu) is running: wait for that one with
// `WaitForTopWindow`, `WaitForMessageBox` or `ReadPopupMenu`. Actions return false when the control is missing,
// hidden or disabled, or its window is disabled by a modal one (a user could not use it either), or when the
// program did not take them within `kUiWaitMs`. Every wait is bounded.
//
// Under Wine 8 all of this works, with two helpers inside the program. Its list views (and up-down ranges) are
// read through memory allocated in it. `vyx_ui_agent.dll`, which the driver loads into it on first use, tells when
// its loop took the posted input (a message hook) and reads its pop-up menus (Wine keeps a menu in the process
// that made it).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vyx::testing {

constexpr DWORD kUiWaitMs = 5000;

// ---- processes and windows ----

// A program started for a test; it is ended if it still runs when the object goes.
class CTestProcess {
 public:
  CTestProcess() = default;
  explicit CTestProcess(std::wstring commandLine) { Start(std::move(commandLine)); }
  ~CTestProcess();
  CTestProcess(const CTestProcess&) = delete;
  CTestProcess& operator=(const CTestProcess&) = delete;

  bool Start(std::wstring commandLine);
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }
  // The exit code once the program ended within `timeoutMs`; otherwise it is ended and 0xDEAD is returned.
  DWORD WaitForExit(DWORD timeoutMs = kUiWaitMs);

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Which window: empty fields match any. Captions and classes compare exactly ("#32770" is a dialog or message box);
// `except` leaves windows out, such as those open before an action.
struct CWindowMatch {
  std::wstring caption;
  std::wstring className;
  std::vector<HWND> except;
};

// The visible top-level windows of process `pid` that match, the topmost first.
std::vector<HWND> FindTopWindows(DWORD pid, const CWindowMatch& match = {});
HWND WaitForTopWindow(DWORD pid, const CWindowMatch& match, DWORD timeoutMs = kUiWaitMs);
// A message box of process `pid` (with `caption` unless empty).
HWND WaitForMessageBox(DWORD pid, const std::wstring& caption = {}, DWORD timeoutMs = kUiWaitMs);
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kUiWaitMs);
// Polls `condition` every 10 ms until it holds or the time is up; returns its last answer.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kUiWaitMs);
// Returns once the message loop of the thread that owns `window` has handled everything already in its queue,
// such as the states a program posts to itself (a wizard posts its buttons' states).
bool WaitForIdle(HWND window, DWORD timeoutMs = kUiWaitMs);

// ---- reading controls ----

// The control with `id` anywhere below `root` (property sheet pages included), a visible one first.
HWND FindControl(HWND root, int id);
HWND WaitForControl(HWND root, int id, DWORD timeoutMs = kUiWaitMs);

struct CControlState {
  bool exists = false;
  std::wstring className;  // "Button", "Edit", "ComboBox", "SysListView32", ...
  std::wstring text;
  bool enabled = false;
  bool visible = false;
  bool focused = false;
  int checked = -1;  // check boxes and radio buttons: BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE; otherwise -1
};
CControlState ReadControl(HWND control);
inline CControlState ReadControl(HWND root, int id) {
  return ReadControl(FindControl(root, id));
}

// A list box or combo box: its entries and the selected one (-1: none).
struct CChoiceList {
  std::vector<std::wstring> entries;
  int selected = -1;
};
CChoiceList ReadListBox(HWND listBox);
CChoiceList ReadComboBox(HWND comboBox);

// An up-down control or progress bar.
struct CRangeValue {
  bool ok = false;
  int value = 0, low = 0, high = 0;
};
CRangeValue ReadUpDown(HWND upDown);
CRangeValue ReadProgress(HWND progress);

struct CListViewRow {
  std::vector<std::wstring> cells;  // one text per column
  int checked = -1;                 // with check boxes: 0 or 1; otherwise -1
  bool selected = false;
  bool focused = false;
  int image = -1;  // the row's image index
};
std::vector<std::wstring> ReadListViewColumns(HWND listView);
std::vector<CListViewRow> ReadListViewRows(HWND listView);

// ---- acting ----

// Gives the control the keyboard focus as a click or Tab would, so the one that had it gets its KILLFOCUS.
bool FocusControl(HWND control);
// Moves the focus to the next tab stop of the dialog that holds `control`, as Tab does.
bool PressTab(HWND control);
// Replaces an edit's text as typing would: the owner gets EN_CHANGE. With `thenTab` the focus then moves on, so a
// dialog that checks the field on EN_KILLFOCUS does so.
bool SetEditText(HWND edit, const std::wstring& text, bool thenTab = false);
// Buttons, check boxes and radio buttons.
bool Click(HWND control);
inline bool Click(HWND root, int id) {
  return Click(FindControl(root, id));
}
// VK_RETURN, VK_BACK, VK_DELETE, VK_ESCAPE, VK_SPACE, arrows...: key down and up, through the message queue.
bool PressKey(HWND control, UINT virtualKey);
// Selects an entry and tells the owner (CBN_SELCHANGE, LBN_SELCHANGE), as a choice with the mouse does.
bool SelectComboEntry(HWND comboBox, int index);
bool SelectComboEntry(HWND comboBox, const std::wstring& text);
bool SelectListBoxEntry(HWND listBox, int index);
bool SelectListBoxEntry(HWND listBox, const std::wstring& text);
// Clicks the up or down arrow of an up-down control `steps` times (negative: down).
bool StepUpDown(HWND upDown, int steps);

enum class EMouseClick { kLeft, kRight, kDouble };
// Clicks the text of a cell: the owner gets NM_CLICK (NM_RCLICK, NM_DBLCLK) with the row and sub-item.
bool ClickListViewCell(HWND listView, int row, int column, EMouseClick click = EMouseClick::kLeft);
// Clicks a row's check box, which toggles it (LVN_ITEMCHANGED).
bool ClickListViewCheckBox(HWND listView, int row);

// A property sheet's own buttons (in wizard mode Back, Next and Finish), once the sheet has handled the button
// states its pages posted.
enum class EWizardButton { kBack, kNext, kFinish, kCancel };
bool PressWizardButton(HWND sheet, EWizardButton button);

// ---- pop-up menus (TrackPopupMenu) ----

struct CMenuEntry {
  UINT id = 0;
  std::wstring text;  // as written, with its '&'
  bool enabled = true;
  bool checked = false;
  bool separator = false;
  bool submenu = false;
};
// The entries of the pop-up menu process `pid` shows, once it shows one within `timeoutMs` (empty if none).
std::vector<CMenuEntry> ReadPopupMenu(DWORD pid, DWORD timeoutMs = kUiWaitMs);
// Chooses an enabled entry by id, or by text compared without '&' and case: the menu closes and the owner gets it.
bool ChoosePopupMenuEntry(DWORD pid, UINT id, DWORD timeoutMs = kUiWaitMs);
bool ChoosePopupMenuEntry(DWORD pid, const std::wstring& text, DWORD timeoutMs = kUiWaitMs);
bool CancelPopupMenu(DWORD pid, DWORD timeoutMs = kUiWaitMs);

// ---- dialogs and message boxes ----

// What a user sees of a dialog: caption, visible texts and push buttons (labels without '&').
struct CDialogSummary {
  std::wstring caption;
  std::vector<std::wstring> texts;
  struct CButton {
    std::wstring label;
    HWND window = nullptr;
    bool enabled = false;
  };
  std::vector<CButton> buttons;
};
CDialogSummary ReadDialog(HWND dialog);
// "caption=C | text=T1 / T2 | buttons=B1,B2[disabled]" in UTF-8, line breaks as "\n": the robot's log line.
std::string FormatDialog(const CDialogSummary& summary);
// Presses the enabled push button labelled `label` (compared without '&' and case), as a click on it does. It
// returns once the press is posted, without waiting for the program (the robot answers programs that may be busy):
// wait with `WaitForWindowGone`.
bool PressDialogButton(HWND dialog, const std::wstring& label);

// ---- screenshots ----

// Saves what the screen shows of `window` as a PNG file, once it is painted (waiting at most a second). Under Wine
// a window reaches the display only while its thread waits for messages: one whose thread is busy shows black.
bool SaveWindowPng(HWND window, const std::wstring& path);

// UTF-8 for logs and messages of tests.
std::string Utf8(const std::wstring& text);

}  // namespace vyx::testing
